// The application object of the main program: start-up, the message loop
// and the shutdown that saves the options.  It owns the process-wide
// Settings and LanguageTable and passes them by reference to what needs them.
#pragma once

#include <memory>

#include "LanguageTable.h"
#include "app/Startup.h"
#include "app/windows/MainDialog.h"
#include "engine/Settings.h"
#include "ui/windows/Application.h"

class CKelvaneApp : public ui::CApplication {
public:
  CKelvaneApp();
  ~CKelvaneApp() override;

  // Start-up, the loop and the shutdown; returns the process exit code.
  int Run();

  Settings& GetSettings() { return settings_; }
  LanguageTable& GetLanguage() { return language_; }
  // Makes the main window (hidden and disabled); false when it cannot be made.
  bool CreateMainWindow();

private:
  Settings settings_;
  LanguageTable language_;
  std::unique_ptr<CMainDialog> mainDialog_;
};

// Start-up's platform calls: the registry, windows and message boxes.
class Win32StartupHost : public StartupHost {
public:
  explicit Win32StartupHost(CKelvaneApp& app) : app_(app) {}
  bool ShowRunningInstance() override;
  RegistryRead ReadUninstallString(std::string& value) override;
  bool ChangeDirectory(const std::string& directory) override;
  void ShowRegistryError() override;
  void LoadLanguageTable() override;
  bool LoadSettings(Settings& settings) override;
  void ShowFirstStartNote() override;
  bool IsOutlookExpressRunning() override;
  bool AskToDropDependency() override;
  bool CreateMainWindow() override { return app_.CreateMainWindow(); }

private:
  CKelvaneApp& app_;
};
