#include "app/Startup.h"

bool InstallDirectoryFromUninstallString(const std::string& value, std::string& directory) {
  const std::size_t slash = value.rfind('\\');
  if (slash == std::string::npos || slash == 0) return false;
  std::string dir = value.substr(0, slash);
  if (dir.size() == 2 && dir[1] == ':') return false;
  directory = dir;
  return true;
}

StartupResult RunStartup(StartupHost& host, Settings& settings) {
  if (host.ShowRunningInstance()) return StartupResult::kOtherInstance;

  std::string uninstallString;
  std::string directory;
  if (host.ReadUninstallString(uninstallString) != RegistryRead::kOk ||
      !InstallDirectoryFromUninstallString(uninstallString, directory) || !host.ChangeDirectory(directory)) {
    host.ShowRegistryError();
    return StartupResult::kNotInstalled;
  }

  host.LoadLanguageTable();
  if (host.LoadSettings(settings)) host.ShowFirstStartNote();

  if (settings.dependOnOE && !host.IsOutlookExpressRunning()) {
    if (!host.AskToDropDependency()) return StartupResult::kDeclined;
    settings.dependOnOE = 0;
  }

  return host.CreateMainWindow() ? StartupResult::kRun : StartupResult::kNoMainWindow;
}
