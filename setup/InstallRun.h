// The installation run after the wizard: extraction, clean-up of an earlier
// installation, shortcuts, fonts, uninstall record and registry entry.  The
// windows, the archive and the registry are reached through InstallSystem.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "setup/common/FileSystem.h"
#include "setup/common/ShortcutRules.h"
#include "setup/package/SetupScript.h"
#include "setup/record/RecordFile.h"

struct ShortcutSpec {
  std::string target;  // relative to the installation directory
  std::string arguments;
  std::string description;  // also the shortcut's file name without ".lnk"
};

struct ArchiveItem {
  std::string name;  // as the archive reader reports it, backslashes
  std::uint64_t size = 0;
};

struct InstallRequest {
  std::string appName;
  std::string language;
  std::string installDir;
  std::string menuFolder;
  std::vector<ArchiveItem> entries;
  std::vector<ShortcutSpec> shortcuts, startupShortcuts, desktopShortcuts;
  std::vector<std::string> generatedFiles;
  std::vector<std::string> installFonts;
  std::string windowClass, windowTitle;
  // What the Add/Remove Programs entry tells beside the name; empty ones
  // are not written.  displayIcon is relative to the installation directory.
  std::string publisher, displayVersion, displayIcon, urlInfoAbout;
  // Registered for every user once the files are in place; their manifests
  // are installed files.
  std::vector<NativeHostEntry> nativeHosts;
};

// One value of the application's Uninstall key: a string, or a 32-bit
// number.
struct UninstallValue {
  std::string name;
  std::string text;
  bool isNumber = false;
  std::uint32_t number = 0;
};

// The values of the Uninstall key for an installation; empty when the
// uninstaller's path would not fit.
std::vector<UninstallValue> MakeUninstallValues(const InstallRequest& request);

enum class ShellFolderKind { kStartup, kDesktop, kFonts };

class InstallSystem {
public:
  virtual ~InstallSystem() = default;
  virtual FileSystem& Files() = 0;
  virtual void ShowStatus(const std::string& text) = 0;
  virtual void AdvanceProgress(std::uint64_t bytes) = 0;
  // Writes archive entry `index` below the installation directory.  False,
  // with a reason for the user, when the entry could not be written whole.
  virtual bool ExtractEntry(std::size_t index, std::string& reason) = 0;
  virtual bool ReadRecord(const std::string& installDir, RecordLists& record) = 0;
  virtual bool WriteRecord(const std::string& installDir, const RecordLists& record) = 0;
  // False when the folder is not known; its shortcuts are then skipped.
  virtual bool ShellFolder(ShellFolderKind kind, std::string& path) = 0;
  virtual bool CreateShortcut(const std::string& targetPath, const std::string& linkPath,
                              const std::string& description, const std::string& arguments) = 0;
  // Drops the one-time commands an earlier uninstallation left behind, which
  // would otherwise delete the new uninstaller at the next logon.
  virtual void ClearPendingRemoval(const std::string& appName) = 0;
  // Creates the Uninstall key for appName and writes every value.
  virtual bool RegisterUninstaller(const std::string& appName, const std::vector<UninstallValue>& values) = 0;
  // Creates the host's key for every user, its default value the manifest's
  // full path.
  virtual bool RegisterNativeHost(const std::string& name, const std::string& manifestPath) = 0;
  virtual void RemoveNativeHost(const std::string& name) = 0;
  virtual void ShowError(const std::string& text) = 0;
};

enum class InstallResult {
  kCompleted,
  kEntryRefused,    // an archive name would leave the installation directory
  kEntryFailed,     // the archive reader could not write an entry; the files
                    // this run had added are removed again
  kRegistryFailed,  // everything installed, but the Uninstall entry is missing
  kHostFailed,      // everything installed, but a native messaging host is not
                    // registered
};

struct InstallOutcome {
  InstallResult result = InstallResult::kCompleted;
  std::string entryName;
  std::string reason;
  bool recordWritten = false;
};

InstallOutcome RunInstallation(const InstallRequest& request, InstallSystem& system);

// What the clean-up of an earlier installation deletes, as full paths.
struct CleanupPlan {
  std::vector<std::string> files;
  std::vector<std::string> generatedFiles;
  std::vector<std::string> shortcuts;
  std::string shortcutFolder;  // empty when no folder is to be removed
};

CleanupPlan PlanEarlierCleanup(const RecordLists& earlier, const std::vector<ArchiveItem>& entries,
                               const std::string& installDir, FileSystem& fs);

struct PlannedHost {
  std::string name, manifestPath;
};

// The hosts to register; entries with a name Mozilla would refuse, or whose
// manifest is not an installed file, are left out.
std::vector<PlannedHost> PlanNativeHosts(const InstallRequest& request, FileSystem& fs);

struct PlannedShortcut {
  std::string targetPath, linkPath, description, arguments;
};

// The shortcuts of one list in one folder; entries whose target or
// description is not a safe name, or whose paths would not fit, are left out.
std::vector<PlannedShortcut> PlanShortcuts(const std::vector<ShortcutSpec>& list, const std::string& installDir,
                                           const std::string& folder);
