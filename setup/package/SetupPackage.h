// The setup package: the setup program with its script and archive appended
// ("-overlay1-", script, "-overlay2-", ZIP archive).
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "setup/archive/ArchiveReader.h"
#include "setup/package/SetupScript.h"

enum class PackageResult {
  kLoaded,
  kCannotOpen,   // the program's own file cannot be opened
  kOutOfMemory,  // no buffer for the file
  kCorrupt,      // a marker is missing
  kBadArchive,   // the archive behind the second marker cannot be read
};

// The message setup shows for a failure, under the caption "Error".
const char* PackageFailureMessage(PackageResult result);

// The two marker texts, built at run time so that the program's own image
// never contains them.  index is 1 or 2; the result has 10 characters.
std::string PackageMarker(int index);

class SetupPackage;

// Setup's start: loads the package setup was started from (argv[0]).
PackageResult LoadSetupPackage(SetupPackage& package, const char* programPath);

class SetupPackage {
public:
  SetupPackage() = default;
  SetupPackage(const SetupPackage&) = delete;
  SetupPackage& operator=(const SetupPackage&) = delete;

  // Reads the whole file named by programPath (setup passes argv[0]),
  // parses the script and opens the archive over the buffer's tail.
  PackageResult Load(const char* programPath);
  // The same over bytes already in memory; the package keeps the buffer.
  PackageResult LoadFromBuffer(std::unique_ptr<unsigned char[]> buffer, std::size_t size);

  const SetupScript& Script() const { return script_; }
  SetupScript& Script() { return script_; }
  std::string_view ScriptText() const { return scriptText_; }
  ArchiveReader& Archive() { return archive_; }
  // The cause of a kBadArchive result.
  int ArchiveCause() const { return archiveCause_; }

private:
  std::unique_ptr<unsigned char[]> buffer_;
  std::size_t size_ = 0;
  std::string_view scriptText_;
  SetupScript script_;
  ArchiveReader archive_;
  int archiveCause_ = 0;
};
