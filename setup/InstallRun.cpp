#include "setup/InstallRun.h"

#include "base/Product.h"
#include "setup/common/PathText.h"
#include "setup/common/ShortcutRules.h"
#include "setup/SetupTexts.h"

namespace {

bool ArchiveHolds(const std::vector<ArchiveItem>& entries, const std::string& name) {
  for (const ArchiveItem& entry : entries)
    if (SameFileName(entry.name, name)) return true;
  return false;
}

bool IsDirectoryName(const std::string& name) {
  return !name.empty() && (name.back() == '\\' || name.back() == '/');
}

// The full path of a recorded relative name, when it is safe to touch: a
// relative name that fits, and no junction on the way.
bool ResolveInside(const std::string& installDir, const std::string& name, FileSystem& fs, std::string& path) {
  if (!IsSafeRelativeName(name) || IsDirectoryName(name)) return false;
  if (!JoinPath(path, installDir, name)) return false;
  return !PathCrossesLink(fs, installDir, name);
}

// Every folder level of an archive entry below the installation directory,
// the entry itself when it is a directory entry.
void MakeEntryFolders(const std::string& installDir, const std::string& name, FileSystem& fs) {
  std::string folder;
  for (std::size_t i = 0; i < name.size(); ++i)
    if ((name[i] == '\\' || name[i] == '/') && JoinPath(folder, installDir, name.substr(0, i))) fs.MakeFolder(folder);
}

}  // namespace

std::vector<UninstallValue> MakeUninstallValues(const InstallRequest& request) {
  std::string uninstaller;
  if (!JoinPath(uninstaller, request.installDir, kUninstallerFile)) return {};
  std::uint64_t totalSize = 0;
  for (const ArchiveItem& entry : request.entries) totalSize += entry.size;
  std::uint64_t kilobytes = (totalSize + 1023) / 1024;
  auto text = [](const char* name, const std::string& value) { return UninstallValue{name, value, false, 0}; };
  auto number = [](const char* name, std::uint64_t value) {
    return UninstallValue{name, std::string(), true,
                          static_cast<std::uint32_t>(value > 0xFFFFFFFFu ? 0xFFFFFFFFu : value)};
  };
  // The uninstall command stays unquoted: the main program, the launcher and
  // setup itself cut it at its last backslash to find the installation.
  std::vector<UninstallValue> values = {
      text("DisplayName", request.appName),
      text("UninstallString", uninstaller),
      text("QuietUninstallString", "\"" + uninstaller + "\" /S"),
      text("InstallLocation", request.installDir),
      number("EstimatedSize", kilobytes),
      number("NoModify", 1),
      number("NoRepair", 1),
  };
  std::string icon;
  if (IsSafeRelativeName(request.displayIcon) && JoinPath(icon, request.installDir, request.displayIcon))
    values.push_back(text("DisplayIcon", icon + ",0"));
  if (!request.displayVersion.empty()) values.push_back(text("DisplayVersion", request.displayVersion));
  if (!request.publisher.empty()) values.push_back(text("Publisher", request.publisher));
  if (!request.urlInfoAbout.empty()) values.push_back(text("URLInfoAbout", request.urlInfoAbout));
  return values;
}

CleanupPlan PlanEarlierCleanup(const RecordLists& earlier, const std::vector<ArchiveItem>& entries,
                               const std::string& installDir, FileSystem& fs) {
  CleanupPlan plan;
  std::string path;
  // A name the new archive holds has just been written: deleting it would
  // lose the new file, whatever case or separator the old record used.
  for (const std::string& name : earlier.files)
    if (!ArchiveHolds(entries, name) && ResolveInside(installDir, name, fs, path)) plan.files.push_back(path);
  for (const std::string& name : earlier.generatedFiles)
    if (!ArchiveHolds(entries, name) && ResolveInside(installDir, name, fs, path)) plan.generatedFiles.push_back(path);
  for (const std::string& link : earlier.shortcuts)
    if (IsRemovableShortcut(link)) plan.shortcuts.push_back(link);
  if (!earlier.shortcuts.empty()) plan.shortcutFolder = RemovableShortcutFolder(earlier.shortcuts[0], fs);
  return plan;
}

std::vector<PlannedHost> PlanNativeHosts(const InstallRequest& request, FileSystem& fs) {
  std::vector<PlannedHost> planned;
  for (const NativeHostEntry& host : request.nativeHosts) {
    PlannedHost plan;
    if (!IsNativeHostName(host.name) || !ResolveInside(request.installDir, host.manifest, fs, plan.manifestPath))
      continue;
    // Thunderbird reads the manifest when an add-on connects; a key naming a
    // missing file would only fail there, far from the cause.
    if (fs.Kind(plan.manifestPath) != PathKind::kFile) continue;
    plan.name = host.name;
    planned.push_back(std::move(plan));
  }
  return planned;
}

std::vector<PlannedShortcut> PlanShortcuts(const std::vector<ShortcutSpec>& list, const std::string& installDir,
                                           const std::string& folder) {
  std::vector<PlannedShortcut> planned;
  for (const ShortcutSpec& spec : list) {
    PlannedShortcut shortcut;
    if (!IsSafeRelativeName(spec.target) || !IsSafeFileName(spec.description)) continue;
    if (!JoinPath(shortcut.targetPath, installDir, spec.target)) continue;
    if (!JoinPath(shortcut.linkPath, folder, spec.description + ".lnk")) continue;
    shortcut.description = spec.description;
    shortcut.arguments = spec.arguments;
    planned.push_back(std::move(shortcut));
  }
  return planned;
}

namespace {

void CleanUpEarlierInstallation(const InstallRequest& request, const RecordLists& earlier, InstallSystem& system) {
  FileSystem& fs = system.Files();
  CleanupPlan plan = PlanEarlierCleanup(earlier, request.entries, request.installDir, fs);
  for (const std::string& path : plan.files) fs.RemoveFile(path);
  for (const std::string& path : plan.generatedFiles) fs.RemoveFile(path);
  for (const std::string& path : plan.shortcuts) fs.RemoveFile(path);
  if (!plan.shortcutFolder.empty()) fs.RemoveFolder(plan.shortcutFolder);
  // The old shortcuts' folder may have been the chosen one.
  fs.MakeFolder(request.menuFolder);
  // A host the new package no longer registers would point at a manifest
  // that is gone; the others are registered again below.
  for (const std::string& name : earlier.nativeHosts) {
    bool kept = false;
    for (const NativeHostEntry& host : request.nativeHosts) kept = kept || host.name == name;
    if (!kept && IsNativeHostName(name)) system.RemoveNativeHost(name);
  }
}

void CreateShortcuts(const std::vector<ShortcutSpec>& list, const std::string& installDir, const std::string& folder,
                     InstallSystem& system, RecordLists& record) {
  for (const PlannedShortcut& shortcut : PlanShortcuts(list, installDir, folder))
    if (system.CreateShortcut(shortcut.targetPath, shortcut.linkPath, shortcut.description, shortcut.arguments))
      record.shortcuts.push_back(shortcut.linkPath);
}

void InstallFonts(const InstallRequest& request, InstallSystem& system) {
  std::string fontsFolder;
  if (!system.ShellFolder(ShellFolderKind::kFonts, fontsFolder)) return;
  std::string from, to;
  for (const std::string& name : request.installFonts)
    if (ResolveInside(request.installDir, name, system.Files(), from) && JoinPath(to, fontsFolder, name))
      system.Files().MoveItem(from, to);
}

}  // namespace

InstallOutcome RunInstallation(const InstallRequest& request, InstallSystem& system) {
  InstallOutcome outcome;
  RunTexts texts = MakeRunTexts(request.language, request.appName);
  FileSystem& fs = system.Files();

  // Every name is checked before anything is written, so that a bad archive
  // leaves no half installation behind.
  std::string path;
  for (const ArchiveItem& entry : request.entries) {
    if (!IsSafeRelativeName(entry.name) || !JoinPath(path, request.installDir, entry.name) ||
        PathCrossesLink(fs, request.installDir, entry.name)) {
      outcome.result = InstallResult::kEntryRefused;
      outcome.entryName = entry.name;
      return outcome;
    }
  }
  std::vector<std::string> added;  // files that were not there before this run
  for (std::size_t i = 0; i < request.entries.size(); ++i) {
    const std::string& name = request.entries[i].name;
    system.ShowStatus(std::string());
    system.ShowStatus(name);
    JoinPath(path, request.installDir, name);
    bool isNew = fs.Kind(path) == PathKind::kMissing;
    // The run makes the entry's folders itself, so that the file system it
    // was given knows which ones are new.
    MakeEntryFolders(request.installDir, name, fs);
    if (!system.ExtractEntry(i, outcome.reason)) {
      // The earlier installation and its record stay as they were; what
      // this run added goes again, the half-written file included.
      for (auto it = added.rbegin(); it != added.rend(); ++it) fs.RemoveFile(*it);
      outcome.result = InstallResult::kEntryFailed;
      outcome.entryName = name;
      return outcome;
    }
    if (isNew && !IsDirectoryName(name)) added.push_back(path);
    system.AdvanceProgress(request.entries[i].size);
  }

  std::string recordPath;
  if (JoinPath(recordPath, request.installDir, kUninstallRecordFile) && fs.Kind(recordPath) == PathKind::kFile) {
    system.ShowStatus(texts.checkingOldData);
    RecordLists earlier;
    if (system.ReadRecord(request.installDir, earlier) && earlier.appName == request.appName)
      CleanUpEarlierInstallation(request, earlier, system);
  }

  RecordLists record;
  record.appName = request.appName;
  for (const ArchiveItem& entry : request.entries) record.files.push_back(entry.name);

  system.ShowStatus(texts.creatingShortcuts);
  CreateShortcuts(request.shortcuts, request.installDir, request.menuFolder, system, record);
  std::string folder;
  if (system.ShellFolder(ShellFolderKind::kStartup, folder))
    CreateShortcuts(request.startupShortcuts, request.installDir, folder, system, record);
  if (system.ShellFolder(ShellFolderKind::kDesktop, folder))
    CreateShortcuts(request.desktopShortcuts, request.installDir, folder, system, record);

  if (!request.installFonts.empty()) {
    system.ShowStatus(texts.installingFonts);
    InstallFonts(request, system);
  }

  // Registered before the record is written, so that the record names what
  // the uninstaller has to remove.
  bool hostsRegistered = true;
  for (const PlannedHost& host : PlanNativeHosts(request, fs)) {
    record.nativeHosts.push_back(host.name);
    hostsRegistered = system.RegisterNativeHost(host.name, host.manifestPath) && hostsRegistered;
  }

  system.ShowStatus(texts.creatingUninstallData);
  for (const std::string& name : request.generatedFiles)
    if (IsSafeRelativeName(name)) record.generatedFiles.push_back(name);
  record.windowClass = request.windowClass;
  record.windowTitle = request.windowTitle;
  outcome.recordWritten = system.WriteRecord(request.installDir, record);
  if (!outcome.recordWritten) system.ShowError(SetupMessage::kRecordNotSaved);

  if (IsSafeKeyName(request.appName)) system.ClearPendingRemoval(request.appName);
  std::vector<UninstallValue> values = MakeUninstallValues(request);
  if (!IsSafeKeyName(request.appName) || values.empty() || !system.RegisterUninstaller(request.appName, values))
    outcome.result = InstallResult::kRegistryFailed;
  else if (!hostsRegistered)
    outcome.result = InstallResult::kHostFailed;
  return outcome;
}
