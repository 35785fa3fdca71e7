// The start-up of the main program as a sequence of decisions, apart from
// the platform calls that carry them out.
#pragma once

#include <string>

#include "base/Product.h"
#include "base/RegistryRead.h"
#include "engine/Settings.h"

// What start-up needs from the platform.  Win32 implements it with the
// registry, windows and message boxes; tests with fakes.
class StartupHost {
public:
  virtual ~StartupHost() = default;
  // Shows and brings forward a running instance's main window; false when
  // there is none.
  virtual bool ShowRunningInstance() = 0;
  virtual RegistryRead ReadUninstallString(std::string& value) = 0;
  virtual bool ChangeDirectory(const std::string& directory) = 0;
  virtual void ShowRegistryError() = 0;
  virtual void LoadLanguageTable() = 0;
  // LoadSettings' answer: true when the file could not be opened.
  virtual bool LoadSettings(Settings& settings) = 0;
  virtual void ShowFirstStartNote() = 0;
  virtual bool IsOutlookExpressRunning() = 0;
  // True when the user answered Yes.
  virtual bool AskToDropDependency() = 0;
  virtual bool CreateMainWindow() = 0;
};

enum class StartupResult {
  kRun,            // the main window exists; enter the message loop
  kOtherInstance,  // another instance was shown; end quietly
  kNotInstalled,   // the registry message was shown; end
  kDeclined,       // the dependency question was not answered Yes; end
  kNoMainWindow,   // the main window could not be made; end
};

// Runs start-up steps 2 to 7 in order.  Nothing is written on any path that
// ends the program.
StartupResult RunStartup(StartupHost& host, Settings& settings);

// The installation directory from the uninstaller's full path: the text
// before its last backslash.  Refused (false) when the value is empty, holds
// no backslash, or would leave a bare drive ("C:" names that drive's current
// folder, not its root), so the options file is never written somewhere else.
bool InstallDirectoryFromUninstallString(const std::string& value, std::string& directory);
