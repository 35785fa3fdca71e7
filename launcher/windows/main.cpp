// Kelvstart.exe: starts Outlook Express with the given parameters, waits for
// its main window and then starts Kelvane.
#include <windows.h>

#include <objbase.h>
#include <shellapi.h>

#include <ctime>
#include <string>

#include "base/Product.h"
#include "launcher/LauncherRun.h"
#include "win32/Com.h"
#include "win32/Registry.h"

namespace {

class Win32LauncherSystem : public LauncherSystem {
public:
  bool ReadUninstallString(std::string& value) override {
    // Read access is all the launcher needs; it runs as the user, who may
    // not write below HKEY_LOCAL_MACHINE.
    return ReadRegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString", value);
  }
  bool Start(const std::string& file, const std::string& parameters) override {
    HINSTANCE result = ShellExecuteA(nullptr, "open", file.c_str(), parameters.empty() ? nullptr : parameters.c_str(),
                                     nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
  }
  bool ClientWindowExists() override {
    return FindWindowA(kClientBrowserClass, nullptr) != nullptr ||
           FindWindowA(kClientNewsStoreClass, nullptr) != nullptr;
  }
  bool MainProgramRunning() override { return FindWindowA(nullptr, kMainWindowCaption) != nullptr; }
  long long NowSeconds() override { return static_cast<long long>(std::time(nullptr)); }
  void SleepMilliseconds(unsigned milliseconds) override { Sleep(milliseconds); }
  void Show(const LauncherMessage& message) override {
    UINT flags = MB_OK | (message.systemModalError ? MB_SYSTEMMODAL | MB_ICONERROR : 0u);
    MessageBoxA(nullptr, message.text, message.caption, flags);
  }
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  // The shell may hand the start to a COM server; it asks for an apartment.
  ComApartment apartment(COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  Win32LauncherSystem system;
  return RunLauncher(commandLine ? commandLine : "", system);
}
