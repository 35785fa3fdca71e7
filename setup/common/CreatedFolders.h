// A file system that remembers every folder it created, so that a run that
// stops can take back exactly those folders and nothing it found in place.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "setup/common/FileSystem.h"

class CreatedFolders : public FileSystem {
public:
  explicit CreatedFolders(FileSystem& inner) : inner_(inner) {}

  // Removes the remembered folders that are still empty directories, deepest
  // first, and forgets them all.  A folder that now holds something (the
  // user may have put a file there) stays, and so do its parents.
  void RemoveEmpty();
  const std::vector<std::string>& Paths() const { return created_; }

  PathKind Kind(const std::string& path) override { return inner_.Kind(path); }
  bool RemoveFile(const std::string& path) override { return inner_.RemoveFile(path); }
  bool RemoveFolder(const std::string& path) override;
  FolderResult MakeFolder(const std::string& path) override;
  bool MoveItem(const std::string& from, const std::string& to) override { return inner_.MoveItem(from, to); }
  std::vector<DirectoryItem> ListFolder(const std::string& path) override { return inner_.ListFolder(path); }
  bool IsShellFolder(const std::string& path) override { return inner_.IsShellFolder(path); }
  bool FreeBytes(const std::string& root, std::uint64_t& bytes) override { return inner_.FreeBytes(root, bytes); }

private:
  FileSystem& inner_;
  std::vector<std::string> created_;  // in the order they were made
};
