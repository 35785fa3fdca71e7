#include "setup/WizardRules.h"

#include "base/Product.h"
#include "setup/common/PathText.h"

namespace {

// Room kept behind the destination for the names setup itself puts there:
// a backslash and the record's name (sizeof counts the name's zero).
constexpr std::size_t kOwnFileRoom = sizeof(kUninstallRecordFile);

bool IsDriveLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

char UpperDrive(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

bool NormalizeDestination(std::string& path) {
  if (path.size() < 3 || !IsDriveLetter(path[0]) || path[1] != ':' || path[2] != '\\') return false;
  std::string tidy = path;
  while (tidy.size() > 3 && tidy.back() == '\\') tidy.pop_back();
  if (tidy.size() + kOwnFileRoom >= kPathCapacity) return false;
  if (tidy.size() > 3 && !IsSafeRelativeName(tidy.substr(3))) return false;
  path.swap(tidy);
  return true;
}

std::uint64_t RequiredSpace(std::uint64_t totalSize) {
  return totalSize + 3145728u;
}

std::vector<std::string> ParentFolders(const std::string& path) {
  std::vector<std::string> folders;
  for (std::size_t i = 0; i + 1 < path.size(); ++i)
    if (path[i] == '\\') folders.push_back(path.substr(0, i));
  return folders;
}

DestinationDecision DecideDestination(std::string& installDir, const std::string& previousDir, std::uint64_t totalSize,
                                      FileSystem& fs) {
  DestinationDecision decision;
  if (!NormalizeDestination(installDir)) return decision;

  std::uint64_t freeBytes = 0;
  if (!fs.FreeBytes(installDir.substr(0, 3), freeBytes)) {
    decision.verdict = DestinationVerdict::kSpaceUnknown;
    return decision;
  }
  std::uint64_t required = RequiredSpace(totalSize);
  if (freeBytes < required) {
    decision.verdict = DestinationVerdict::kNoSpace;
    decision.missingKilobytes = (required - freeBytes) / 1024;
    decision.drive = UpperDrive(installDir[0]);
    return decision;
  }

  FolderResult made = fs.MakeFolder(installDir);
  if (made == FolderResult::kPathNotFound) {
    for (const std::string& parent : ParentFolders(installDir)) fs.MakeFolder(parent);
    made = fs.MakeFolder(installDir);
    if (made == FolderResult::kPathNotFound || made == FolderResult::kFailed) {
      decision.verdict = DestinationVerdict::kCannotCreate;
      return decision;
    }
  }
  switch (made) {
    case FolderResult::kCreated:
      decision.verdict = DestinationVerdict::kAccept;
      break;
    case FolderResult::kAlreadyExists:
      if (installDir == previousDir)
        decision.verdict = DestinationVerdict::kAccept;
      else if (fs.Kind(installDir) == PathKind::kFile)
        decision.verdict = DestinationVerdict::kFileExists;
      else
        decision.verdict = DestinationVerdict::kAskExisting;
      break;
    default:
      // A folder that could not be made is no place to install into.
      decision.verdict = DestinationVerdict::kCannotCreate;
      break;
  }
  return decision;
}

MenuFolderVerdict DecideMenuFolder(const std::string& rootFolder, const std::string& name, FileSystem& fs,
                                   std::string& menuFolder) {
  std::string folderName = name;
  while (!folderName.empty() && folderName.back() == '\\') folderName.pop_back();
  std::string path;
  if (!IsSafeRelativeName(folderName) || !JoinPath(path, rootFolder, folderName))
    return MenuFolderVerdict::kInvalidName;
  switch (fs.MakeFolder(path)) {
    case FolderResult::kPathNotFound:
      return MenuFolderVerdict::kPathNotFound;
    case FolderResult::kAlreadyExists:
      if (fs.Kind(path) == PathKind::kFile) return MenuFolderVerdict::kFileExists;
      break;
    default:
      break;
  }
  menuFolder = path;
  return MenuFolderVerdict::kAccept;
}

std::string EnterMenuFolder(const std::string& currentFolder, const std::string& entry) {
  if (entry == "..") return ParentPath(currentFolder);
  std::string next;
  if (!JoinPath(next, currentFolder, entry)) return currentFolder;
  return next;
}

std::string MenuNameFor(const std::string& rootFolder, const std::string& currentFolder, const std::string& appName) {
  if (currentFolder.size() <= rootFolder.size() + 1) return appName;
  return currentFolder.substr(rootFolder.size() + 1) + "\\" + appName;
}
