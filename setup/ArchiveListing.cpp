#include "setup/ArchiveListing.h"

#include "setup/common/PathText.h"

namespace {

// "X:\", the shortest destination the wizard accepts.
constexpr std::size_t kShortestDestination = 3;

}  // namespace

bool IsInstallableEntryName(const std::string& name) {
  return IsSafeRelativeName(name) && kShortestDestination + name.size() < kPathCapacity;
}

bool ListArchive(const ArchiveReader& archive, ArchiveListing& listing) {
  listing = ArchiveListing();
  for (int i = 0; i < archive.GetEntryCount(); ++i) {
    ArchiveEntryInfo info;
    if (!archive.GetEntryInfo(i, info) || !IsInstallableEntryName(info.name) || !archive.IsEntryReadable(i)) {
      listing.refused = true;
      listing.refusedName = info.name;
      return false;
    }
    listing.entries.push_back({info.name, info.uncompressedSize});
    listing.totalSize += info.uncompressedSize;
  }
  return true;
}
