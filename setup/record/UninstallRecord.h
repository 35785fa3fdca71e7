// "uninstall.dat": what an installation put on the machine, written by setup
// and read by setup (over an earlier installation) and by the uninstaller.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "base/Product.h"
#include "setup/package/SetupScript.h"

struct UninstallRecord {
  static constexpr std::size_t kNameSize = 256;  // appName, windowClass, windowTitle
  static constexpr std::size_t kPathSize = 260;  // every file and shortcut slot
  using PathSlot = std::array<char, kPathSize>;

  char appName[kNameSize] = {};
  int fileCount = 0;
  std::vector<PathSlot> files;
  int shortcutCount = 0;
  std::vector<PathSlot> shortcuts;
  int generatedCount = 0;
  std::vector<PathSlot> generatedFiles;
  char windowClass[kNameSize] = {};
  char windowTitle[kNameSize] = {};
  // Native messaging hosts registered for the installation, by name.  They
  // follow the window texts in a tagged section of their own, which readers
  // that predate it never reach; a record without hosts has no section.
  int hostCount = 0;
  std::vector<PathSlot> nativeHosts;
};

enum class RecordDepth {
  kSetup,        // fields up to the generated files, and the hosts when the
                 // window texts before them read: setup cleans up with them
  kUninstaller,  // every field, the window class and title included
};

// Writes the record for an installation; an existing file is replaced.
// Fails, without creating the file, when a text does not fit its field.
bool WriteUninstallRecord(const SetupScript& script, const std::vector<std::string>& files,
                          const char* path = kUninstallRecordFile);

// Result 0 when read, 1 when the file is missing, not a record, or damaged
// (ends early, a text longer than its field, a count the file cannot hold).
// On failure the record is left empty.
int ReadUninstallRecord(UninstallRecord& record, RecordDepth depth, const char* path = kUninstallRecordFile);
int ParseUninstallRecord(const unsigned char* data, std::size_t size, UninstallRecord& record, RecordDepth depth);
