// The archive reader over arbitrary bytes: open, list, and extract every
// entry into a scratch folder.  Nothing may ever appear beside the target
// folder, whatever the names say.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include <unistd.h>

#include "setup/archive/ArchiveReader.h"

namespace {

const std::filesystem::path& Base() {
  static const std::filesystem::path base = [] {
    std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("kelvane-fuzz-archive-" + std::to_string(getpid()));
    std::filesystem::create_directories(path / "target");
    return path;
  }();
  // The scratch folder goes when the fuzzer exits.
  static const struct Remover {
    ~Remover() {
      std::error_code ignored;
      std::filesystem::remove_all(base, ignored);
    }
  } remover;
  return base;
}

void CheckAndClean() {
  std::error_code error;
  for (const auto& item : std::filesystem::directory_iterator(Base(), error)) {
    if (item.path().filename() != "target") {
      std::fprintf(stderr, "file written outside the target: %s\n", item.path().c_str());
      __builtin_trap();
    }
  }
  const std::filesystem::path target = Base() / "target";
  for (auto it = std::filesystem::recursive_directory_iterator(target, error);
       it != std::filesystem::recursive_directory_iterator(); it.increment(error))
    std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                 error);
  std::filesystem::remove_all(target, error);
  std::filesystem::create_directory(target, error);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ArchiveReader reader;
  try {
    reader.Open(data, size);
  } catch (const CZipException&) {
    return 0;
  }
  const std::string target = (Base() / "target").string();
  ArchiveEntryInfo info;
  for (int i = 0; i < reader.GetEntryCount(); ++i) {
    reader.GetEntryInfo(i, info);
    try {
      reader.ExtractEntry(i, target, (i & 1) == 0, i % 3 == 0 ? 7 : 65535);
    } catch (const CZipException&) {
      reader.CloseEntry();
    }
  }
  CheckAndClean();
  return 0;
}
