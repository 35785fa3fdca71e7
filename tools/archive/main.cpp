// kelvane-archive: lists, tests and extracts ZIP archives with setup's own
// archive reader, so that package authors see what setup will see.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>

#include "setup/archive/ArchiveReader.h"
#include "tools/version/ToolVersion.h"

namespace {

const char kUsage[] =
    "usage: kelvane-archive list ARCHIVE\n"
    "       kelvane-archive test ARCHIVE\n"
    "       kelvane-archive extract ARCHIVE DIR\n"
    "       kelvane-archive --help | --version\n";

int Usage() {
  std::fputs(kUsage, stderr);
  return 2;
}

int List(ArchiveReader& reader) {
  ArchiveEntryInfo info;
  for (int i = 0; i < reader.GetEntryCount(); ++i) {
    reader.GetEntryInfo(i, info);
    std::printf("%s\t%lu\t%08lx\n", EntryNameToUtf8(info.name).c_str(),
                static_cast<unsigned long>(info.uncompressedSize), static_cast<unsigned long>(info.crc32));
  }
  return std::fflush(stdout) == 0 ? 0 : 1;
}

// Extracts every entry the way setup does; false after reporting the first
// entry that could not be written.
bool ExtractAll(ArchiveReader& reader, const std::string& directory) {
  ArchiveEntryInfo info;
  for (int i = 0; i < reader.GetEntryCount(); ++i) {
    if (!reader.ExtractEntry(i, directory, true, 65535)) {
      reader.GetEntryInfo(i, info);
      std::fprintf(stderr, "error: entry %d (%s) could not be extracted\n", i, EntryNameToUtf8(info.name).c_str());
      return false;
    }
  }
  return true;
}

std::filesystem::path MakeTemporaryFolder() {
  std::error_code error;
  const std::filesystem::path base = std::filesystem::temp_directory_path(error);
  if (error) return {};
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::filesystem::path candidate = base / ("kelvane-archive-" + std::to_string(random()));
    if (std::filesystem::create_directory(candidate, error)) return candidate;
  }
  return {};
}

int Test(ArchiveReader& reader) {
  const std::filesystem::path folder = MakeTemporaryFolder();
  if (folder.empty()) {
    std::fputs("error: no temporary folder could be created\n", stderr);
    return 1;
  }
  // The folder goes away however the extraction ends.
  struct Remover {
    std::filesystem::path path;
    ~Remover() {
      std::error_code ignored;
      std::filesystem::permissions(path, std::filesystem::perms::owner_all, ignored);
      for (auto it = std::filesystem::recursive_directory_iterator(path, ignored);
           it != std::filesystem::recursive_directory_iterator(); it.increment(ignored))
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                     ignored);
      std::filesystem::remove_all(path, ignored);
    }
  } remover{folder};
  if (!ExtractAll(reader, folder.string())) return 1;
  std::printf("%d entries OK\n", reader.GetEntryCount());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (WantsVersion(argc, argv)) return PrintVersion("kelvane-archive");
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0))
    return std::fputs(kUsage, stdout) >= 0 && std::fflush(stdout) == 0 ? 0 : 1;
  if (argc < 3) return Usage();
  const std::string command = argv[1];
  if (!((command == "list" || command == "test") && argc == 3) && !(command == "extract" && argc == 4)) return Usage();
  ArchiveReader reader;
  try {
    reader.Open(std::string(argv[2]));
    if (command == "list") return List(reader);
    if (command == "test") return Test(reader);
    return ExtractAll(reader, argv[3]) ? 0 : 1;
  } catch (const CZipException& e) {
    std::fprintf(stderr, "error: cause %d: %s\n", e.Cause(), CZipException::Meaning(e.Cause()));
    return 1;
  }
}
