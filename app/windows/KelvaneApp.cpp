#include "app/windows/KelvaneApp.h"

#include "app/SettingsFile.h"
#include "automation/windows/Win32Desktop.h"
#include "base/Product.h"
#include "win32/Registry.h"

CKelvaneApp::CKelvaneApp() : ui::CApplication(kProductName) {
  ResetSettings(settings_);
}

CKelvaneApp::~CKelvaneApp() = default;

bool CKelvaneApp::CreateMainWindow() {
  mainDialog_ = std::make_unique<CMainDialog>(*this, settings_, language_);
  if (!mainDialog_->CreateHidden()) {
    mainDialog_.reset();
    return false;
  }
  SetMainWindow(mainDialog_->GetHandle());
  return true;
}

int CKelvaneApp::Run() {
  ui::InitCommonControlsForDialogs();
  Win32StartupHost host(*this);
  switch (RunStartup(host, settings_)) {
    case StartupResult::kRun:
      break;
    case StartupResult::kOtherInstance:
    case StartupResult::kDeclined:
      return 0;
    case StartupResult::kNotInstalled:
    case StartupResult::kNoMainWindow:
      return 1;
  }

  SetRunning(true);
  RunMessageLoop();
  SetRunning(false);

  mainDialog_.reset();
  SetMainWindow(nullptr);
  SaveSettingsReplacing(settings_);
  return 0;
}

bool Win32StartupHost::ShowRunningInstance() {
  HWND running = ::FindWindowA(nullptr, kMainWindowCaption);
  if (running == nullptr) return false;
  ::ShowWindow(running, SW_SHOWNORMAL);
  ::SetForegroundWindow(running);
  return true;
}

RegistryRead Win32StartupHost::ReadUninstallString(std::string& value) {
  return ReadRegistryString(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString", value);
}

bool Win32StartupHost::ChangeDirectory(const std::string& directory) {
  return ::SetCurrentDirectoryA(directory.c_str()) != FALSE;
}

void Win32StartupHost::ShowRegistryError() {
  ::MessageBoxA(nullptr, kRegistryErrorText, "Error", MB_OK);
}

void Win32StartupHost::LoadLanguageTable() {
  app_.GetLanguage().Load("lang.ini");
}

bool Win32StartupHost::LoadSettings(Settings& settings) {
  return ::LoadSettings(settings);
}

void Win32StartupHost::ShowFirstStartNote() {
  const char* text = app_.GetLanguage().GetText("#First Time");
  ::MessageBoxA(nullptr, text != nullptr ? text : "", "Kelvane - NOTE", MB_OK | MB_ICONINFORMATION);
}

bool Win32StartupHost::IsOutlookExpressRunning() {
  Win32WindowSystem windows;
  return WindowWatcher::FindOutlookExpress(windows) != kNoWindow;
}

bool Win32StartupHost::AskToDropDependency() {
  const char* text = app_.GetLanguage().GetText("#Dependency Check Warning");
  return ::MessageBoxA(nullptr, text != nullptr ? text : "", kProductName, MB_YESNO | MB_ICONQUESTION) == IDYES;
}
