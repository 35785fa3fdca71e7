// Kelvstart.exe: starts Outlook Express with the given parameters, waits for
// its main window and then starts Kelvane.
#include <windows.h>

#include <objbase.h>
#include <shellapi.h>

#include <ctime>
#include <string>

#include "launcher/LauncherRun.h"

namespace {

const char* const kUninstallKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kelvane";

class Win32LauncherSystem : public LauncherSystem {
public:
  bool ReadUninstallString(std::string& value) override {
    // Read access is all the launcher needs; it runs as the user, who may
    // not write below HKEY_LOCAL_MACHINE.
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    char buffer[MAX_PATH + 1] = {};
    DWORD type = 0;
    DWORD size = MAX_PATH;
    LONG result = RegQueryValueExA(key, "UninstallString", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || type != REG_SZ) return false;
    buffer[size < MAX_PATH ? size : MAX_PATH] = '\0';
    value = buffer;
    return true;
  }
  bool Start(const std::string& file, const std::string& parameters) override {
    HINSTANCE result = ShellExecuteA(nullptr, "open", file.c_str(), parameters.empty() ? nullptr : parameters.c_str(),
                                     nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
  }
  bool ClientWindowExists() override {
    return FindWindowA("Outlook Express Browser Class", nullptr) != nullptr ||
           FindWindowA("Outlook Express NewsStore", nullptr) != nullptr;
  }
  bool MainProgramRunning() override { return FindWindowA(nullptr, "Kelvane   ") != nullptr; }
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
  HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  Win32LauncherSystem system;
  int exitCode = RunLauncher(commandLine ? commandLine : "", system);
  if (SUCCEEDED(com)) CoUninitialize();
  return exitCode;
}
