#include "setup/common/windows/ShellFolders.h"

#include <shlobj.h>

#include "win32/Registry.h"

bool ReadShellFolder(HKEY root, const char* valueName, std::string& path) {
  std::string value;
  if (!ReadRegistryText(root, kShellFoldersKey, valueName, value) || value.empty()) return false;
  path = value;
  return true;
}

bool FindShellFolder(HKEY root, const char* valueName, int csidl, std::string& path) {
  if (ReadShellFolder(root, valueName, path)) return true;
  char buffer[MAX_PATH + 1] = {};
  if (FAILED(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buffer)) || buffer[0] == '\0') return false;
  path = buffer;
  return true;
}
