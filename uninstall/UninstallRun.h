// Removal of an installation described by its uninstall record.  The window
// search, the registry and the files are reached through UninstallSystem.
#pragma once

#include <string>
#include <vector>

#include "setup/common/FileSystem.h"
#include "setup/record/RecordFile.h"

namespace UninstallMessage {
extern const char* const kErrorCaption;
extern const char* const kSuccessCaption;
extern const char* const kRecordUnreadable;
extern const char* const kRunning;
}  // namespace UninstallMessage

std::string FormatUninstalledMessage(const std::string& appName);

class UninstallSystem {
public:
  virtual ~UninstallSystem() = default;
  virtual FileSystem& Files() = 0;
  // An empty class or title matches any.
  virtual bool WindowExists(const std::string& windowClass, const std::string& windowTitle) = 0;
  virtual void DeleteUninstallKey(const std::string& appName) = 0;
  // The manifest path a native messaging host's key names; false when there
  // is no such key or no readable path.
  virtual bool NativeHostManifest(const std::string& name, std::string& manifestPath) = 0;
  virtual void DeleteNativeHostKey(const std::string& name) = 0;
  // The command interpreter's full path; empty when unknown.
  virtual std::string CommandInterpreter() = 0;
  virtual bool SetRunOnce(const std::string& valueName, const std::string& command) = 0;
};

// What the uninstaller removes, as full paths, in the order it removes them.
struct RemovalPlan {
  std::vector<std::string> files;
  std::vector<std::string> generated;  // files or folders, decided when removed
  std::string recordFile;
  std::vector<std::string> shortcuts;
  std::string shortcutFolder;            // empty when none may be removed
  std::vector<std::string> directories;  // deepest first
};

RemovalPlan PlanRemoval(const RecordLists& record, const std::string& ownDir, FileSystem& fs);

struct RunOnceCommand {
  std::string valueName;
  std::string command;
};

// The two one-time commands that remove the uninstaller and its folder at
// the next logon.  Windows runs RunOnce values in no fixed order, so the
// folder's command deletes the uninstaller first as well.  False when they
// cannot be formed safely: no interpreter, or a path that would not fit or
// that the interpreter would read differently.
bool MakeRunOnceCommands(const std::string& appName, const std::string& commandInterpreter, const std::string& ownDir,
                         std::vector<RunOnceCommand>& commands);

// Removes a folder with everything below it, except entries whose name
// begins with '.', which keep their folder in place.  Links are removed, never
// entered.
void RemoveTree(FileSystem& fs, const std::string& folder);

enum class UninstallResult { kRemoved, kApplicationRunning };

UninstallResult RunUninstall(const RecordLists& record, const std::string& ownDir, UninstallSystem& system);
