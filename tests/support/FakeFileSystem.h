// An in-memory file system with Windows' name rules (case folded, '/' read as
// '\'), enough to watch what the installer and the uninstaller touch.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "setup/common/FileSystem.h"

class FakeFileSystem : public FileSystem {
public:
  std::uint64_t freeBytes = 100ull * 1024 * 1024;
  bool freeBytesKnown = true;
  std::set<std::string> shellFolders;  // folded
  std::vector<std::string> removed;    // every path removed, in order

  void AddFile(const std::string& path, const std::string& content = "x") {
    AddFolder(Parent(path));
    nodes_[Fold(path)] = {PathKind::kFile, path, content};
  }
  void AddFolder(const std::string& path) {
    if (path.size() <= 2) return;  // "C:" always exists
    AddFolder(Parent(path));
    if (!nodes_.count(Fold(path))) nodes_[Fold(path)] = {PathKind::kDirectory, path, ""};
  }
  void AddLink(const std::string& path) {
    AddFolder(Parent(path));
    nodes_[Fold(path)] = {PathKind::kLink, path, ""};
  }
  void AddShellFolder(const std::string& path) {
    AddFolder(path);
    shellFolders.insert(Fold(path));
  }
  bool Has(const std::string& path) const { return nodes_.count(Fold(path)) != 0; }
  std::string Content(const std::string& path) const {
    auto it = nodes_.find(Fold(path));
    return it == nodes_.end() ? std::string() : it->second.content;
  }
  std::size_t Count() const { return nodes_.size(); }

  PathKind Kind(const std::string& path) override {
    if (IsDriveRoot(path)) return PathKind::kDirectory;
    auto it = nodes_.find(Fold(path));
    return it == nodes_.end() ? PathKind::kMissing : it->second.kind;
  }
  bool RemoveFile(const std::string& path) override {
    auto it = nodes_.find(Fold(path));
    if (it == nodes_.end() || it->second.kind != PathKind::kFile) return false;
    nodes_.erase(it);
    removed.push_back(path);
    return true;
  }
  bool RemoveFolder(const std::string& path) override {
    auto it = nodes_.find(Fold(path));
    if (it == nodes_.end() || it->second.kind == PathKind::kFile) return false;
    if (it->second.kind == PathKind::kDirectory && !ListFolder(path).empty()) return false;
    nodes_.erase(it);
    removed.push_back(path);
    return true;
  }
  FolderResult MakeFolder(const std::string& path) override {
    if (Kind(path) != PathKind::kMissing) return FolderResult::kAlreadyExists;
    if (Kind(Parent(path)) == PathKind::kMissing) return FolderResult::kPathNotFound;
    nodes_[Fold(path)] = {PathKind::kDirectory, path, ""};
    return FolderResult::kCreated;
  }
  bool MoveItem(const std::string& from, const std::string& to) override {
    auto it = nodes_.find(Fold(from));
    if (it == nodes_.end() || Kind(to) != PathKind::kMissing || Kind(Parent(to)) == PathKind::kMissing) return false;
    Node node = it->second;
    nodes_.erase(it);
    node.name = to;
    nodes_[Fold(to)] = node;
    return true;
  }
  std::vector<DirectoryItem> ListFolder(const std::string& path) override {
    std::vector<DirectoryItem> items;
    std::string prefix = Fold(path) + "\\";
    for (const auto& entry : nodes_) {
      const std::string& key = entry.first;
      if (key.compare(0, prefix.size(), prefix) != 0) continue;
      if (key.find('\\', prefix.size()) != std::string::npos) continue;
      items.push_back({entry.second.name.substr(prefix.size()), entry.second.kind == PathKind::kDirectory});
    }
    return items;
  }
  bool IsShellFolder(const std::string& path) override { return shellFolders.count(Fold(path)) != 0; }
  bool FreeBytes(const std::string&, std::uint64_t& bytes) override {
    bytes = freeBytes;
    return freeBytesKnown;
  }

  static std::string Fold(const std::string& path) {
    std::string folded = path;
    for (char& c : folded) {
      if (c == '/') c = '\\';
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    while (folded.size() > 3 && folded.back() == '\\') folded.pop_back();
    return folded;
  }
  static std::string Parent(const std::string& path) {
    std::string::size_type at = path.rfind('\\');
    return at == std::string::npos ? std::string() : path.substr(0, at);
  }

private:
  struct Node {
    PathKind kind;
    std::string name;
    std::string content;
  };
  std::map<std::string, Node> nodes_;
};
