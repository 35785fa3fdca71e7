#include "setup/common/ShortcutRules.h"

#include "setup/common/PathText.h"

bool IsRemovableShortcut(const std::string& path) {
  return IsFullPath(path) && HasLinkExtension(path) && path.size() < kPathCapacity;
}

std::string RemovableShortcutFolder(const std::string& shortcutPath, FileSystem& fs) {
  if (!IsRemovableShortcut(shortcutPath)) return std::string();
  std::string folder = ParentPath(shortcutPath);
  if (folder.empty() || IsDriveRoot(folder) || !IsFullPath(folder + "\\")) return std::string();
  if (fs.IsShellFolder(folder)) return std::string();
  return folder;
}
