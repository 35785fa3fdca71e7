// What the destination and start-menu folder dialogs decide when the user
// presses OK, apart from the windows that show it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "setup/common/FileSystem.h"

// Tidies the destination as typed: it must start with a drive letter, a colon
// and a backslash, and fit a path together with the longest names it will
// hold later; trailing backslashes are dropped except the one after the
// colon.  The rest must be a safe relative path.  False when refused.
bool NormalizeDestination(std::string& path);

// The bytes the installation needs on the destination's volume.
std::uint64_t RequiredSpace(std::uint64_t totalSize);

// The folders to create, parent first, before a destination whose parents are
// missing is created: the text before each backslash that has more text
// after it.
std::vector<std::string> ParentFolders(const std::string& path);

enum class DestinationVerdict {
  kAccept,
  kAskExisting,   // the folder exists and is not the earlier installation
  kInvalid,       // not of the form X:\Path
  kNoSpace,       // missingKilobytes and drive tell how much on which drive
  kSpaceUnknown,  // the free space could not be read
  kCannotCreate,
  kFileExists,
};

struct DestinationDecision {
  DestinationVerdict verdict = DestinationVerdict::kInvalid;
  std::uint64_t missingKilobytes = 0;
  char drive = 0;
};

// Checks installDir (tidied in place) and creates it with missing parents.
DestinationDecision DecideDestination(std::string& installDir, const std::string& previousDir, std::uint64_t totalSize,
                                      FileSystem& fs);

enum class MenuFolderVerdict { kAccept, kInvalidName, kPathNotFound, kFileExists };

// menuFolder = rootFolder + '\' + name, created one level deep.
MenuFolderVerdict DecideMenuFolder(const std::string& rootFolder, const std::string& name, FileSystem& fs,
                                   std::string& menuFolder);

// The start-menu folder list's navigation: the folder a double-click on entry
// leads to, and the name field shown for it.
std::string EnterMenuFolder(const std::string& currentFolder, const std::string& entry);
std::string MenuNameFor(const std::string& rootFolder, const std::string& currentFolder, const std::string& appName);
