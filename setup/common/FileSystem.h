// The file-system operations the installation run and the uninstaller need,
// behind an interface so that their decisions can be tested without Windows.
// Paths are full ANSI paths with backslashes.  The names avoid those of the
// Windows API, which <windows.h> turns into macros.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum class PathKind {
  kMissing,
  kFile,
  kDirectory,
  kLink,  // a junction, symbolic link or other reparse point: never entered
};

enum class FolderResult {
  kCreated,
  kAlreadyExists,  // something of that name exists; Kind tells what
  kPathNotFound,   // a parent is missing
  kFailed,
};

struct DirectoryItem {
  std::string name;
  bool isDirectory = false;
};

class FileSystem {
public:
  virtual ~FileSystem() = default;
  virtual PathKind Kind(const std::string& path) = 0;
  virtual bool RemoveFile(const std::string& path) = 0;
  // Removes an empty directory, or the link itself for a Link.
  virtual bool RemoveFolder(const std::string& path) = 0;
  // One level only.
  virtual FolderResult MakeFolder(const std::string& path) = 0;
  virtual bool MoveItem(const std::string& from, const std::string& to) = 0;
  // The entries of a directory without "." and ".."; empty when it cannot be read.
  virtual std::vector<DirectoryItem> ListFolder(const std::string& path) = 0;
  // True for a folder that belongs to the shell (Desktop, Programs, Startup
  // and their all-users forms, Fonts), which no removal may take away.
  virtual bool IsShellFolder(const std::string& path) = 0;
  // Free bytes for the caller on the volume of root ("C:\"); false when the
  // query fails.
  virtual bool FreeBytes(const std::string& root, std::uint64_t& bytes) = 0;
};

// True when a component of relativeName below base, base itself excluded, is
// a Link, so that a path through it would leave base.
bool PathCrossesLink(FileSystem& fs, const std::string& base, const std::string& relativeName);

// True for a full path of the form "X:\..." or "\\server\...".
bool IsFullPath(const std::string& path);

// True for "X:" and "X:\" (with any number of trailing backslashes).
bool IsDriveRoot(const std::string& path);
