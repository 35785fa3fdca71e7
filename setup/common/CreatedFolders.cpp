#include "setup/common/CreatedFolders.h"

#include <algorithm>

#include "setup/common/PathText.h"

FolderResult CreatedFolders::MakeFolder(const std::string& path) {
  FolderResult result = inner_.MakeFolder(path);
  if (result == FolderResult::kCreated) created_.push_back(path);
  return result;
}

bool CreatedFolders::RemoveFolder(const std::string& path) {
  if (!inner_.RemoveFolder(path)) return false;
  // Made again later, it is ours again; until then it is not to be taken.
  created_.erase(std::remove_if(created_.begin(), created_.end(),
                                [&](const std::string& made) { return SameFileName(made, path); }),
                 created_.end());
  return true;
}

void CreatedFolders::RemoveEmpty() {
  std::vector<std::string> folders;
  folders.swap(created_);
  // Later folders lie below earlier ones, never above; the depth decides
  // among folders made on different branches.
  std::reverse(folders.begin(), folders.end());
  std::stable_sort(folders.begin(), folders.end(), [](const std::string& a, const std::string& b) {
    return std::count(a.begin(), a.end(), '\\') > std::count(b.begin(), b.end(), '\\');
  });
  for (const std::string& folder : folders)
    if (inner_.Kind(folder) == PathKind::kDirectory && inner_.ListFolder(folder).empty()) inner_.RemoveFolder(folder);
}
