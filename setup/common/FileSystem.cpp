#include "setup/common/FileSystem.h"

#include "setup/common/PathText.h"

bool PathCrossesLink(FileSystem& fs, const std::string& base, const std::string& relativeName) {
  std::string current = base;
  std::size_t start = 0;
  while (start < relativeName.size()) {
    std::size_t stop = relativeName.find_first_of("\\/", start);
    if (stop == std::string::npos) stop = relativeName.size();
    std::string next;
    if (!JoinPath(next, current, relativeName.substr(start, stop - start))) return true;
    PathKind kind = fs.Kind(next);
    if (kind == PathKind::kLink) return true;
    if (kind == PathKind::kMissing) return false;  // nothing below it exists yet
    current.swap(next);
    start = stop + 1;
  }
  return false;
}

bool IsFullPath(const std::string& path) {
  if (path.size() >= 3 && path[1] == ':' && path[2] == '\\') {
    char drive = path[0];
    return (drive >= 'A' && drive <= 'Z') || (drive >= 'a' && drive <= 'z');
  }
  return path.size() > 2 && path[0] == '\\' && path[1] == '\\';
}

bool IsDriveRoot(const std::string& path) {
  if (path.size() < 2 || path[1] != ':') return false;
  for (std::size_t i = 2; i < path.size(); ++i)
    if (path[i] != '\\') return false;
  return true;
}
