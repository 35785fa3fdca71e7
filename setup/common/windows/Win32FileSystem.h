// The installer's file-system interface over the ANSI Win32 API.
#pragma once

#include <string>
#include <vector>

#include "setup/common/FileSystem.h"

class Win32FileSystem : public FileSystem {
public:
  Win32FileSystem();
  PathKind Kind(const std::string& path) override;
  bool RemoveFile(const std::string& path) override;
  bool RemoveFolder(const std::string& path) override;
  FolderResult MakeFolder(const std::string& path) override;
  bool MoveItem(const std::string& from, const std::string& to) override;
  std::vector<DirectoryItem> ListFolder(const std::string& path) override;
  bool IsShellFolder(const std::string& path) override;
  bool FreeBytes(const std::string& root, std::uint64_t& bytes) override;

private:
  std::vector<std::string> shellFolders_;
};

// True when a top-level window of that class and title exists; an empty
// text matches any.
bool TopLevelWindowExists(const std::string& windowClass, const std::string& windowTitle);
