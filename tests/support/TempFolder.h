// A fresh folder below the system's temporary directory, removed with its
// contents when the test ends.
#pragma once

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>
#include <vector>

class TempFolder {
public:
  TempFolder() {
    std::error_code error;
    const std::filesystem::path base = std::filesystem::temp_directory_path(error);
    std::random_device random;
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
      std::filesystem::path candidate = base / ("kelvane-test-" + std::to_string(random()));
      if (std::filesystem::create_directory(candidate, error)) path_ = candidate;
    }
    // The target lives one level down so that escapes land in path_.
    std::filesystem::create_directory(path_ / "target", error);
  }
  ~TempFolder() {
    std::error_code ignored;
    for (auto it = std::filesystem::recursive_directory_iterator(path_, ignored);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ignored))
      std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                   ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& Root() const { return path_; }
  std::filesystem::path Target() const { return path_ / "target"; }
  std::string TargetText() const { return Target().string(); }

  // Every regular file and directory below the root, as generic paths
  // relative to it.
  std::vector<std::string> Contents() const {
    std::vector<std::string> found;
    std::error_code ignored;
    for (auto it = std::filesystem::recursive_directory_iterator(path_, ignored);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ignored))
      found.push_back(it->path().lexically_relative(path_).generic_string());
    std::sort(found.begin(), found.end());
    return found;
  }

private:
  std::filesystem::path path_;
};
