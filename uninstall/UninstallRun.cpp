#include "uninstall/UninstallRun.h"

#include <algorithm>

#include "base/Product.h"
#include "setup/common/PathText.h"
#include "setup/common/ShortcutRules.h"

namespace UninstallMessage {
const char* const kErrorCaption = "Error";
const char* const kSuccessCaption = "Success";
const char* const kRecordUnreadable = "Uninstall information could\nnot be read or is corrupt!";
const char* const kRunning =
    "The application you are trying to uninstall is running!\nPlease close it before uninstalling...";
}  // namespace UninstallMessage

std::string FormatUninstalledMessage(const std::string& appName) {
  return appName + " was uninstalled successfully!";
}

namespace {

// Deep enough for any installation, and a stop for a folder that somehow
// contains itself.
constexpr int kTreeDepthLimit = 32;

bool ResolveInside(const std::string& ownDir, const std::string& name, FileSystem& fs, std::string& path) {
  if (!IsSafeRelativeName(name)) return false;
  std::string trimmed = name;
  while (!trimmed.empty() && (trimmed.back() == '\\' || trimmed.back() == '/')) trimmed.pop_back();
  if (!JoinPath(path, ownDir, trimmed)) return false;
  return !PathCrossesLink(fs, ownDir, trimmed);
}

struct ListedDirectory {
  std::string name;
  int depth;
};

void RemoveTreeAt(FileSystem& fs, const std::string& folder, int level) {
  if (level > kTreeDepthLimit) return;
  for (const DirectoryItem& item : fs.ListFolder(folder)) {
    if (item.name.empty() || item.name[0] == '.') continue;
    std::string path;
    if (!JoinPath(path, folder, item.name)) continue;  // a cut path would name something else
    PathKind kind = fs.Kind(path);
    if (kind == PathKind::kDirectory)
      RemoveTreeAt(fs, path, level + 1);
    else if (kind == PathKind::kLink)
      fs.RemoveFolder(path);
    else if (kind == PathKind::kFile)
      fs.RemoveFile(path);
  }
  fs.RemoveFolder(folder);
}

bool IsReadByInterpreter(char c) {
  return c == '"' || c == '%';
}

}  // namespace

void RemoveTree(FileSystem& fs, const std::string& folder) {
  RemoveTreeAt(fs, folder, 0);
}

RemovalPlan PlanRemoval(const RecordLists& record, const std::string& ownDir, FileSystem& fs) {
  RemovalPlan plan;
  std::string path;
  std::vector<ListedDirectory> listed;
  for (const std::string& name : record.files) {
    bool isDirectoryEntry = !name.empty() && (name.back() == '\\' || name.back() == '/');
    if (!ResolveInside(ownDir, name, fs, path)) continue;
    if (!isDirectoryEntry) plan.files.push_back(path);
    std::string directory = ParentPath(path);
    if (isDirectoryEntry) directory = path;
    if (!IsInsideDirectory(directory, ownDir)) continue;
    bool known = std::any_of(listed.begin(), listed.end(),
                             [&](const ListedDirectory& d) { return SameFileName(d.name, directory); });
    if (!known) listed.push_back({directory, DirectoryDepth(directory.substr(ownDir.size() + 1))});
  }
  for (const std::string& name : record.generatedFiles)
    if (ResolveInside(ownDir, name, fs, path)) plan.generated.push_back(path);
  JoinPath(plan.recordFile, ownDir, kUninstallRecordFile);
  for (const std::string& link : record.shortcuts)
    if (IsRemovableShortcut(link)) plan.shortcuts.push_back(link);
  if (!record.shortcuts.empty()) plan.shortcutFolder = RemovableShortcutFolder(record.shortcuts[0], fs);
  std::stable_sort(listed.begin(), listed.end(),
                   [](const ListedDirectory& a, const ListedDirectory& b) { return a.depth > b.depth; });
  for (const ListedDirectory& d : listed) plan.directories.push_back(d.name);
  return plan;
}

bool MakeRunOnceCommands(const std::string& appName, const std::string& commandInterpreter, const std::string& ownDir,
                         std::vector<RunOnceCommand>& commands) {
  if (commandInterpreter.empty() || commandInterpreter.size() >= kPathCapacity || ownDir.empty()) return false;
  for (const std::string* text : {&commandInterpreter, &ownDir})
    if (std::any_of(text->begin(), text->end(), IsReadByInterpreter)) return false;
  std::string uninstaller;
  if (!JoinPath(uninstaller, ownDir, kUninstallerFile)) return false;
  std::string interpreter = "\"" + commandInterpreter + "\"";
  std::string deleteUninstaller = "del \"" + uninstaller + "\"";
  std::vector<RunOnceCommand> made = {
      {appName + "_DelUninstallExe", interpreter + " /c " + deleteUninstaller},
      {appName + "_RmDir", interpreter + " /c " + deleteUninstaller + " & rd \"" + ownDir + "\""},
  };
  // Registry values may be longer, but RunOnce commands are run through a
  // command line of limited length: refuse rather than cut.
  for (const RunOnceCommand& command : made)
    if (command.command.size() >= 2 * kPathCapacity || command.valueName.size() >= kPathCapacity) return false;
  commands.swap(made);
  return true;
}

UninstallResult RunUninstall(const RecordLists& record, const std::string& ownDir, UninstallSystem& system) {
  if ((!record.windowClass.empty() || !record.windowTitle.empty()) &&
      system.WindowExists(record.windowClass, record.windowTitle))
    return UninstallResult::kApplicationRunning;

  FileSystem& fs = system.Files();
  RemovalPlan plan = PlanRemoval(record, ownDir, fs);
  for (const std::string& path : plan.files) fs.RemoveFile(path);
  for (const std::string& path : plan.generated) {
    PathKind kind = fs.Kind(path);
    if (kind == PathKind::kDirectory)
      RemoveTree(fs, path);
    else if (kind == PathKind::kFile)
      fs.RemoveFile(path);
  }
  if (!plan.recordFile.empty()) fs.RemoveFile(plan.recordFile);
  for (const std::string& path : plan.shortcuts) fs.RemoveFile(path);
  if (!plan.shortcutFolder.empty()) fs.RemoveFolder(plan.shortcutFolder);
  for (const std::string& path : plan.directories) fs.RemoveFolder(path);

  // A host key that another installation has taken over since names a
  // manifest outside this folder; it is that installation's to remove.
  std::string manifest;
  for (const std::string& name : record.nativeHosts)
    if (IsNativeHostName(name) && system.NativeHostManifest(name, manifest) && IsInsideDirectory(manifest, ownDir))
      system.DeleteNativeHostKey(name);

  // An empty or nested name would make the key below name the Uninstall key
  // itself, or another application's.
  if (!IsSafeKeyName(record.appName)) return UninstallResult::kRemoved;
  system.DeleteUninstallKey(record.appName);
  std::vector<RunOnceCommand> commands;
  if (MakeRunOnceCommands(record.appName, system.CommandInterpreter(), ownDir, commands))
    for (const RunOnceCommand& command : commands) system.SetRunOnce(command.valueName, command.command);
  return UninstallResult::kRemoved;
}
