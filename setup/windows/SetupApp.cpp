// setup.exe: the installer engine.  It reads the script and the archive
// appended to its own file, leads the user through the wizard and installs.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "setup/windows/BackgroundWindow.h"
#include "setup/package/SetupPackage.h"
#include "setup/windows/SetupResources.h"
#include "setup/windows/Win32InstallSystem.h"
#include "setup/windows/WizardDialogs.h"
#include "setup/InstallRun.h"
#include "setup/SetupTexts.h"
#include "ui/windows/Application.h"

namespace {

enum ExitCode { kInstalled = 0, kNotInstalled = 1 };

std::vector<ShortcutSpec> Specs(const std::vector<ShortcutEntry>& entries) {
  std::vector<ShortcutSpec> specs;
  for (const ShortcutEntry& entry : entries) specs.push_back({entry.target, entry.arguments, entry.description});
  return specs;
}

class SetupRun {
public:
  explicit SetupRun(HINSTANCE instance) : instance_(instance) {}
  int Run();

private:
  bool ListArchive();
  int Install(const std::string& installDir, const std::string& menuFolder);
  int Error(const std::string& text, HWND owner = nullptr) {
    MessageBoxA(owner, text.c_str(), SetupMessage::kErrorCaption, MB_OK | MB_ICONWARNING);
    return kNotInstalled;
  }

  HINSTANCE instance_;
  SetupPackage package_;
  std::vector<ArchiveItem> entries_;
  std::uint64_t totalSize_ = 0;
  CBackgroundWindow background_;
};

bool SetupRun::ListArchive() {
  ArchiveReader& archive = package_.Archive();
  for (int i = 0; i < archive.GetEntryCount(); ++i) {
    ArchiveEntryInfo info;
    if (!archive.GetEntryInfo(i, info)) return false;
    entries_.push_back({info.name, info.uncompressedSize});
    totalSize_ += info.uncompressedSize;
  }
  return true;
}

int SetupRun::Run() {
  ui::InitCommonControlsForDialogs();
  CStartupNote note;
  if (note.Create(nullptr)) {
    note.Show(SW_SHOW);
    note.Update();
  }

  char module[MAX_PATH + 1] = {};
  DWORD length = GetModuleFileNameA(nullptr, module, MAX_PATH);
  PackageResult loaded = length > 0 && length < MAX_PATH ? package_.Load(module) : PackageResult::kCannotOpen;
  if (loaded != PackageResult::kLoaded) {
    note.DestroyWindow();
    return Error(PackageFailureMessage(loaded));
  }
  const SetupScript& script = package_.Script();

  const std::string& windowClass = script.RunningCheckWindowClass;
  const std::string& windowTitle = script.RunningCheckWindowTitle;
  if ((!windowClass.empty() || !windowTitle.empty()) && TopLevelWindowExists(windowClass, windowTitle)) {
    note.DestroyWindow();
    return Error(FormatRunningMessage(script.AppName));
  }
  if (!ListArchive()) {
    note.DestroyWindow();
    return Error(SetupMessage::kArchiveUnreadable);
  }

  HICON largeIcon = static_cast<HICON>(LoadImageA(instance_, MAKEINTRESOURCEA(IDI_SETUP), IMAGE_ICON,
                                                  GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), LR_SHARED));
  HICON smallIcon =
      static_cast<HICON>(LoadImageA(instance_, MAKEINTRESOURCEA(IDI_SETUP), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                    GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  background_.Create(script.AppName, largeIcon, smallIcon);
  note.DestroyWindow();
  HWND owner = background_.GetHandle();

  if (!script.Agreement.empty()) {
    CAgreementDialog agreement(script.Language, script.Agreement);
    if (agreement.DoModal(owner) != IDOK) return kNotInstalled;
  }

  CDestinationDialog destination(script.Language, script.AppName, script.DefaultDest, totalSize_);
  for (;;) {
    if (destination.DoModal(owner) != IDOK) return kNotInstalled;
    CMenuFolderDialog menu(script.Language, script.AppName);
    if (menu.DoModal(owner) == IDOK) return Install(destination.installDir, menu.menuFolder);
    // Back: a folder made for nothing does not stay (removal fails unless empty).
    RemoveDirectoryA(destination.installDir.c_str());
  }
}

int SetupRun::Install(const std::string& installDir, const std::string& menuFolder) {
  const SetupScript& script = package_.Script();
  HWND owner = background_.GetHandle();
  CProgressDialog progress(script.Language);
  progress.Create(owner);
  progress.Show(SW_SHOW);
  progress.SetTotal(totalSize_);
  // Drawn once before the first entry, which may take a while to write.
  progress.Update();
  PumpPendingMessages();

  InstallRequest request;
  request.appName = script.AppName;
  request.language = script.Language;
  request.installDir = installDir;
  request.menuFolder = menuFolder;
  request.entries = entries_;
  request.shortcuts = Specs(script.Shortcuts);
  request.startupShortcuts = Specs(script.StartupShortcuts);
  request.desktopShortcuts = Specs(script.DesktopShortcuts);
  request.generatedFiles = script.GeneratedFiles;
  request.installFonts = script.InstallFonts;
  request.windowClass = script.RunningCheckWindowClass;
  request.windowTitle = script.RunningCheckWindowTitle;

  Win32InstallSystem system(package_.Archive(), progress, owner, installDir);
  SetCurrentDirectoryA(installDir.c_str());
  InstallOutcome outcome = RunInstallation(request, system);
  progress.DestroyWindow();

  switch (outcome.result) {
    case InstallResult::EntryRefused:
      return Error(FormatUnsafeEntry(outcome.entryName), owner);
    case InstallResult::EntryFailed:
      return Error(FormatExtractionFailure(outcome.entryName, outcome.reason), owner);
    case InstallResult::RegistryFailed:
      return Error(SetupMessage::kRegistryFailed, owner);
    case InstallResult::Completed:
      break;
  }
  RunTexts texts = MakeRunTexts(script.Language, script.AppName);
  MessageBoxA(owner, texts.completeMessage.c_str(), texts.completeCaption.c_str(), MB_OK | MB_ICONINFORMATION);
  return outcome.recordWritten ? kInstalled : kNotInstalled;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  SetupRun run(instance);
  int exitCode = run.Run();
  return exitCode;
}
