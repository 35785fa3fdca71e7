// setup.exe: the installer engine.  It reads the script and the archive
// appended to its own file, leads the user through the wizard and installs;
// with "/S" it installs without a window and logs what it would have shown.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "setup/ArchiveListing.h"
#include "setup/common/CommandLine.h"
#include "setup/common/CreatedFolders.h"
#include "setup/common/PathText.h"
#include "setup/common/windows/Win32FileSystem.h"
#include "setup/InstallRun.h"
#include "setup/package/SetupPackage.h"
#include "setup/SetupTexts.h"
#include "setup/WizardRules.h"
#include "setup/windows/BackgroundWindow.h"
#include "setup/windows/SetupMessages.h"
#include "setup/windows/SetupResources.h"
#include "setup/windows/Win32InstallSystem.h"
#include "setup/windows/WizardDialogs.h"
#include "ui/windows/Application.h"

namespace {

// The interactive run keeps the two codes it always had.
enum ExitCode { kInstalled = 0, kNotInstalled = 1 };

std::vector<ShortcutSpec> Specs(const std::vector<ShortcutEntry>& entries) {
  std::vector<ShortcutSpec> specs;
  for (const ShortcutEntry& entry : entries) specs.push_back({entry.target, entry.arguments, entry.description});
  return specs;
}

class SetupRun {
public:
  SetupRun(HINSTANCE instance, SetupOptions options) : instance_(instance), options_(std::move(options)) {}
  int Run();

private:
  int RunWizard();
  int RunSilent();
  int Install(const std::string& installDir, const std::string& menuFolder);
  // Reports why setup stops and takes back the folders it made.
  int Stop(int silentCode, const std::string& text, HWND owner = nullptr);
  bool Silent() const { return options_.silent; }

  HINSTANCE instance_;
  SetupOptions options_;
  std::string programPath_;
  SetupPackage package_;
  ArchiveListing listing_;
  Win32FileSystem disk_;
  CreatedFolders folders_{disk_};
  CBackgroundWindow background_;
};

int SetupRun::Stop(int silentCode, const std::string& text, HWND owner) {
  Messages().Show(owner, text, SetupMessage::kErrorCaption, MB_OK | MB_ICONWARNING);
  // A folder is not removed while it is the current directory.
  SetCurrentDirectoryA(ParentPath(programPath_).c_str());
  folders_.RemoveEmpty();
  return Silent() ? silentCode : kNotInstalled;
}

int SetupRun::Run() {
  char module[MAX_PATH + 1] = {};
  DWORD length = GetModuleFileNameA(nullptr, module, MAX_PATH);
  if (length > 0 && length < MAX_PATH) programPath_ = module;
  if (Silent()) {
    Messages().BeSilent(programPath_);
    for (const std::string& argument : options_.ignored) Messages().Log(FormatIgnoredArgument(argument));
  }

  CStartupNote note;
  if (!Silent()) {
    ui::InitCommonControlsForDialogs();
    if (note.Create(nullptr)) {
      note.Show(SW_SHOW);
      note.Update();
    }
  }
  PackageResult loaded = programPath_.empty() ? PackageResult::kCannotOpen : package_.Load(programPath_.c_str());
  if (loaded != PackageResult::kLoaded) {
    note.DestroyWindow();
    return Stop(kSetupExitPackageBad, PackageFailureMessage(loaded));
  }
  const SetupScript& script = package_.Script();

  const std::string& windowClass = script.RunningCheckWindowClass;
  const std::string& windowTitle = script.RunningCheckWindowTitle;
  if ((!windowClass.empty() || !windowTitle.empty()) && TopLevelWindowExists(windowClass, windowTitle)) {
    note.DestroyWindow();
    return Stop(kSetupExitApplicationRunning, FormatRunningMessage(script.AppName));
  }
  // Every entry is checked before the first window: a package extraction
  // would refuse never gets as far as creating a folder.
  if (!ListArchive(package_.Archive(), listing_)) {
    note.DestroyWindow();
    return Stop(kSetupExitPackageBad, listing_.refusedName.empty() ? std::string(SetupMessage::kArchiveUnreadable)
                                                                   : FormatCorruptEntry(listing_.refusedName));
  }
  if (Silent()) return RunSilent();

  HICON largeIcon = static_cast<HICON>(LoadImageA(instance_, MAKEINTRESOURCEA(IDI_SETUP), IMAGE_ICON,
                                                  GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), LR_SHARED));
  HICON smallIcon =
      static_cast<HICON>(LoadImageA(instance_, MAKEINTRESOURCEA(IDI_SETUP), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                    GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  background_.Create(script.AppName, largeIcon, smallIcon);
  note.DestroyWindow();
  return RunWizard();
}

int SetupRun::RunWizard() {
  const SetupScript& script = package_.Script();
  HWND owner = background_.GetHandle();
  if (!script.Agreement.empty()) {
    CAgreementDialog agreement(script.Language, script.Agreement);
    if (agreement.DoModal(owner) != IDOK) return kNotInstalled;
  }

  CDestinationDialog destination(script.Language, script.AppName, script.DefaultDest, listing_.totalSize, folders_);
  if (options_.hasDestination) destination.installDir = options_.destination;
  for (;;) {
    if (destination.DoModal(owner) != IDOK) {
      folders_.RemoveEmpty();
      return kNotInstalled;
    }
    CMenuFolderDialog menu(script.Language, script.AppName, folders_);
    if (menu.DoModal(owner) == IDOK) return Install(destination.installDir, menu.menuFolder);
    // Back: folders made for nothing do not stay (removal fails unless empty).
    folders_.RemoveEmpty();
    RemoveDirectoryA(destination.installDir.c_str());
  }
}

int SetupRun::RunSilent() {
  const SetupScript& script = package_.Script();
  // The agreement counts as accepted; the destination is the one given,
  // else the earlier installation's, else the default.
  std::string previousDir;
  std::string installDir = ProposeDestination(script.AppName, script.DefaultDest, previousDir);
  if (options_.hasDestination) installDir = options_.destination;
  DestinationDecision decision = DecideDestination(installDir, previousDir, listing_.totalSize, folders_);
  switch (decision.verdict) {
    case DestinationVerdict::kInvalid:
      return Stop(kSetupExitDestinationRefused, SetupMessage::kInvalidDestination);
    case DestinationVerdict::kNoSpace:
      return Stop(kSetupExitDestinationRefused, FormatNoSpaceMessage(decision.missingKilobytes, decision.drive));
    case DestinationVerdict::kSpaceUnknown:
      return Stop(kSetupExitDestinationRefused, SetupMessage::kSpaceUnknown);
    case DestinationVerdict::kCannotCreate:
      return Stop(kSetupExitDestinationRefused, SetupMessage::kCannotCreate);
    case DestinationVerdict::kFileExists:
      return Stop(kSetupExitDestinationRefused, SetupMessage::kFileExists);
    case DestinationVerdict::kAskExisting:
      Messages().Show(nullptr, SetupMessage::kDirectoryExists, SetupMessage::kWarningCaption,
                      MB_YESNO | MB_ICONWARNING);
      break;
    case DestinationVerdict::kAccept:
      break;
  }

  std::string root = MenuRootFolder(false);
  std::string menuFolder;
  MenuFolderVerdict menu = MenuFolderVerdict::kPathNotFound;
  if (!root.empty())
    menu = DecideMenuFolder(root, options_.hasMenuName ? options_.menuName : script.AppName, folders_, menuFolder);
  switch (menu) {
    case MenuFolderVerdict::kInvalidName:
      return Stop(kSetupExitDestinationRefused, SetupMessage::kMenuInvalidName);
    case MenuFolderVerdict::kPathNotFound:
      return Stop(kSetupExitDestinationRefused, SetupMessage::kMenuPathNotFound);
    case MenuFolderVerdict::kFileExists:
      return Stop(kSetupExitDestinationRefused, SetupMessage::kFileExists);
    case MenuFolderVerdict::kAccept:
      break;
  }
  Messages().Log(FormatSilentStart(script.AppName, installDir, menuFolder));
  return Install(installDir, menuFolder);
}

int SetupRun::Install(const std::string& installDir, const std::string& menuFolder) {
  const SetupScript& script = package_.Script();
  HWND owner = Silent() ? nullptr : background_.GetHandle();
  CProgressDialog progress(script.Language);
  if (!Silent()) {
    progress.Create(owner);
    progress.Show(SW_SHOW);
    progress.SetTotal(listing_.totalSize);
    // Drawn once before the first entry, which may take a while to write.
    progress.Update();
    PumpPendingMessages();
  }

  InstallRequest request;
  request.appName = script.AppName;
  request.language = script.Language;
  request.installDir = installDir;
  request.menuFolder = menuFolder;
  request.entries = listing_.entries;
  request.shortcuts = Specs(script.Shortcuts);
  request.startupShortcuts = Specs(script.StartupShortcuts);
  request.desktopShortcuts = Specs(script.DesktopShortcuts);
  request.generatedFiles = script.GeneratedFiles;
  request.installFonts = script.InstallFonts;
  request.windowClass = script.RunningCheckWindowClass;
  request.windowTitle = script.RunningCheckWindowTitle;
  request.publisher = script.Publisher;
  request.displayVersion = script.DisplayVersion;
  request.displayIcon = script.DisplayIcon;
  request.urlInfoAbout = script.URLInfoAbout;
  request.nativeHosts = script.NativeMessagingHosts;

  Win32InstallSystem system(package_.Archive(), Silent() ? nullptr : &progress, owner, installDir, folders_);
  SetCurrentDirectoryA(installDir.c_str());
  InstallOutcome outcome = RunInstallation(request, system);
  if (!Silent()) progress.DestroyWindow();

  switch (outcome.result) {
    case InstallResult::kEntryRefused:
      return Stop(kSetupExitInstallationFailed, FormatUnsafeEntry(outcome.entryName), owner);
    case InstallResult::kEntryFailed:
      return Stop(kSetupExitInstallationFailed, FormatExtractionFailure(outcome.entryName, outcome.reason), owner);
    case InstallResult::kRegistryFailed:
      return Stop(kSetupExitInstallationFailed, SetupMessage::kRegistryFailed, owner);
    case InstallResult::kHostFailed:
      return Stop(kSetupExitInstallationFailed, SetupMessage::kHostFailed, owner);
    case InstallResult::kCompleted:
      break;
  }
  RunTexts texts = MakeRunTexts(script.Language, script.AppName);
  Messages().Show(owner, texts.completeMessage, texts.completeCaption.c_str(), MB_OK | MB_ICONINFORMATION);
  if (outcome.recordWritten) return kInstalled;
  if (Silent()) return kSetupExitInstallationFailed;
  return kNotInstalled;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int) {
  SetupRun run(instance, ParseSetupCommandLine(arguments ? arguments : ""));
  return run.Run();
}
