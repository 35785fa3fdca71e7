// The archive's entries as the installation needs them, listed and checked
// before the first window appears: a package that extraction would refuse
// is turned away while nothing has been created yet.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "setup/archive/ArchiveReader.h"
#include "setup/InstallRun.h"

struct ArchiveListing {
  std::vector<ArchiveItem> entries;
  std::uint64_t totalSize = 0;
  bool refused = false;
  std::string refusedName;  // the first entry refused
};

// True for an entry name the installation can write below any destination:
// a safe relative name that fits below the shortest one, a drive root.
bool IsInstallableEntryName(const std::string& name);

// Lists every entry in archive order and checks its name and sizes.  False,
// with refused set, at the first entry that extraction would refuse.
bool ListArchive(const ArchiveReader& archive, ArchiveListing& listing);
