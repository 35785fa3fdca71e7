// uninstall.exe: removes the installation described by "uninstall.dat" beside
// it, then leaves two one-time commands for its own file and folder.  "/S"
// removes without any message box.
#include <windows.h>

#include <string>

#include "base/Product.h"
#include "setup/common/CommandLine.h"
#include "setup/common/PathText.h"
#include "setup/record/RecordFile.h"
#include "setup/common/windows/Win32FileSystem.h"
#include "uninstall/UninstallRun.h"
#include "win32/Registry.h"

namespace {

class Win32UninstallSystem : public UninstallSystem {
public:
  FileSystem& Files() override { return files_; }
  bool WindowExists(const std::string& windowClass, const std::string& windowTitle) override {
    return TopLevelWindowExists(windowClass, windowTitle);
  }
  void DeleteUninstallKey(const std::string& appName) override {
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, UninstallKeyName(appName).c_str());
  }
  bool NativeHostManifest(const std::string& name, std::string& manifestPath) override {
    return ReadRegistryString(HKEY_LOCAL_MACHINE, NativeHostKeyName(name), nullptr, manifestPath) == RegistryRead::kOk;
  }
  void DeleteNativeHostKey(const std::string& name) override {
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, NativeHostKeyName(name).c_str());
  }
  std::string CommandInterpreter() override {
    char buffer[MAX_PATH] = {};
    DWORD length = GetEnvironmentVariableA("COMSPEC", buffer, MAX_PATH);
    if (length > 0 && length < MAX_PATH) return buffer;
    // Without the variable the interpreter is still where the system keeps it.
    UINT systemLength = GetSystemDirectoryA(buffer, MAX_PATH);
    std::string path;
    if (systemLength == 0 || systemLength >= MAX_PATH || !JoinPath(path, buffer, "cmd.exe")) return std::string();
    return path;
  }
  bool SetRunOnce(const std::string& valueName, const std::string& command) override {
    RegistryKey key;
    return key.Create(HKEY_LOCAL_MACHINE, kRunOnceKey, KEY_SET_VALUE) && key.WriteText(valueName.c_str(), command);
  }

private:
  Win32FileSystem files_;
};

// With "/S" nothing is shown; the exit code tells what happened.
bool silent = false;

void Message(const char* text, const char* caption, UINT icon) {
  if (!silent) MessageBoxA(nullptr, text, caption, MB_OK | icon);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR arguments, int) {
  silent = ParseSetupCommandLine(arguments ? arguments : "").silent;
  char module[MAX_PATH + 1] = {};
  DWORD length = GetModuleFileNameA(nullptr, module, MAX_PATH);
  std::string ownDir = length > 0 && length < MAX_PATH ? ParentPath(module) : std::string();
  RecordLists record;
  if (ownDir.empty() || !SetCurrentDirectoryA(ownDir.c_str()) || !LoadRecordLists(kUninstallRecordFile, true, record)) {
    Message(UninstallMessage::kRecordUnreadable, UninstallMessage::kErrorCaption, MB_ICONWARNING);
    return 1;
  }
  Win32UninstallSystem system;
  if (RunUninstall(record, ownDir, system) == UninstallResult::kApplicationRunning) {
    Message(UninstallMessage::kRunning, UninstallMessage::kErrorCaption, MB_ICONWARNING);
    return 1;
  }
  Message(FormatUninstalledMessage(record.appName).c_str(), UninstallMessage::kSuccessCaption, MB_ICONINFORMATION);
  return 0;
}
