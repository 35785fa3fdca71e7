#include "setup/common/windows/Win32FileSystem.h"

#include <windows.h>

#include <shlobj.h>

#include "setup/common/PathText.h"
#include "win32/Registry.h"

namespace {

std::string WithoutTrailingBackslash(std::string path) {
  while (path.size() > 3 && path.back() == '\\') path.pop_back();
  return path;
}

}  // namespace

Win32FileSystem::Win32FileSystem() {
  // Every folder the shell or the system owns, as the shell reports it and as
  // the "Shell Folders" table stores it: a recorded shortcut may point into
  // any of them, and none of them may be removed for being empty.
  static const int kFolders[] = {CSIDL_DESKTOPDIRECTORY,
                                 CSIDL_COMMON_DESKTOPDIRECTORY,
                                 CSIDL_PROGRAMS,
                                 CSIDL_COMMON_PROGRAMS,
                                 CSIDL_STARTUP,
                                 CSIDL_COMMON_STARTUP,
                                 CSIDL_STARTMENU,
                                 CSIDL_COMMON_STARTMENU,
                                 CSIDL_FONTS,
                                 CSIDL_WINDOWS,
                                 CSIDL_SYSTEM,
                                 CSIDL_PROGRAM_FILES,
                                 CSIDL_PERSONAL,
                                 CSIDL_APPDATA,
                                 CSIDL_PROFILE};
  for (int csidl : kFolders) {
    char buffer[MAX_PATH + 1] = {};
    if (SUCCEEDED(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buffer)) && buffer[0])
      shellFolders_.push_back(WithoutTrailingBackslash(buffer));
  }
  static const char* const kValues[] = {"Desktop",        "Programs",        "Startup",        "Start Menu",
                                        "Common Desktop", "Common Programs", "Common Startup", "Common Start Menu",
                                        "Fonts",          "Personal",        "AppData"};
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    RegistryKey key;
    if (!key.Open(root, kShellFoldersKey, KEY_QUERY_VALUE)) continue;
    for (const char* value : kValues) {
      std::string path;
      if (key.ReadText(value, path) && !path.empty()) shellFolders_.push_back(WithoutTrailingBackslash(path));
    }
  }
}

PathKind Win32FileSystem::Kind(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return PathKind::kMissing;
  if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return PathKind::kLink;
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::kDirectory : PathKind::kFile;
}

bool Win32FileSystem::RemoveFile(const std::string& path) {
  if (DeleteFileA(path.c_str())) return true;
  // Archives may carry the read-only attribute onto the installed files.
  DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_READONLY) ||
      (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)))
    return false;
  SetFileAttributesA(path.c_str(), attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
  return DeleteFileA(path.c_str()) != FALSE;
}

bool Win32FileSystem::RemoveFolder(const std::string& path) {
  return RemoveDirectoryA(path.c_str()) != FALSE;
}

FolderResult Win32FileSystem::MakeFolder(const std::string& path) {
  if (CreateDirectoryA(path.c_str(), nullptr)) return FolderResult::kCreated;
  switch (GetLastError()) {
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS:
    case ERROR_ACCESS_DENIED:  // "C:\" and other roots answer so
      if (Kind(path) != PathKind::kMissing) return FolderResult::kAlreadyExists;
      return FolderResult::kFailed;
    case ERROR_PATH_NOT_FOUND:
      return FolderResult::kPathNotFound;
    default:
      return FolderResult::kFailed;
  }
}

bool Win32FileSystem::MoveItem(const std::string& from, const std::string& to) {
  return MoveFileA(from.c_str(), to.c_str()) != FALSE;
}

std::vector<DirectoryItem> Win32FileSystem::ListFolder(const std::string& path) {
  std::vector<DirectoryItem> items;
  std::string pattern;
  if (!JoinPath(pattern, path, "*.*")) return items;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return items;
  do {
    std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    items.push_back({name, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return items;
}

bool Win32FileSystem::IsShellFolder(const std::string& path) {
  std::string folder = WithoutTrailingBackslash(path);
  for (const std::string& shellFolder : shellFolders_)
    if (SameFileName(folder, shellFolder)) return true;
  return false;
}

bool Win32FileSystem::FreeBytes(const std::string& root, std::uint64_t& bytes) {
  ULARGE_INTEGER available, total, totalFree;
  if (!GetDiskFreeSpaceExA(root.c_str(), &available, &total, &totalFree)) return false;
  bytes = available.QuadPart;
  return true;
}

bool TopLevelWindowExists(const std::string& windowClass, const std::string& windowTitle) {
  return FindWindowA(windowClass.empty() ? nullptr : windowClass.c_str(),
                     windowTitle.empty() ? nullptr : windowTitle.c_str()) != nullptr;
}
