// kelvane-package: assembles a setup package and shows what setup and the
// uninstaller read from a package or an uninstall record, as JSON.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "setup/package/SetupPackage.h"
#include "setup/record/UninstallRecord.h"
#include "tools/version/ToolVersion.h"

namespace {

const char kUsage[] =
    "usage: kelvane-package build --stub EXE --script FILE --archive ZIP -o OUT\n"
    "       kelvane-package inspect PACKAGE\n"
    "       kelvane-package record FILE\n"
    "       kelvane-package --help | --version\n";

int Usage() {
  std::fputs(kUsage, stderr);
  return 2;
}

bool ReadWhole(const std::string& path, std::string& data) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  data.clear();
  char chunk[65536];
  std::size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) data.append(chunk, got);
  const bool ok = !std::ferror(file);
  std::fclose(file);
  return ok;
}

// A JSON string from UTF-8 text.
std::string JsonUtf8(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    const unsigned char b = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (b < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", b);
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

// A JSON string from text in Windows-1252.
std::string Json(const std::string& ansi) {
  return JsonUtf8(AnsiToUtf8(ansi));
}

std::string JsonList(const std::vector<std::string>& items) {
  std::string out = "[";
  for (std::size_t i = 0; i < items.size(); ++i) out += (i ? ", " : "") + Json(items[i]);
  return out + "]";
}

std::string JsonShortcuts(const std::vector<ShortcutEntry>& entries) {
  std::string out = "[";
  for (std::size_t i = 0; i < entries.size(); ++i) {
    out += i ? ", " : "";
    out += "{\"target\": " + Json(entries[i].target) + ", \"arguments\": " + Json(entries[i].arguments) +
           ", \"description\": " + Json(entries[i].description) + "}";
  }
  return out + "]";
}

int Build(int argc, char** argv) {
  std::string stub, script, archive, output;
  for (int i = 2; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--stub")
      stub = argv[i + 1];
    else if (option == "--script")
      script = argv[i + 1];
    else if (option == "--archive")
      archive = argv[i + 1];
    else if (option == "-o")
      output = argv[i + 1];
    else
      return Usage();
  }
  if (argc % 2 != 0 || stub.empty() || script.empty() || archive.empty() || output.empty()) return Usage();
  std::string stubData, scriptData, archiveData;
  for (const auto& [path, data] : {std::make_pair(&stub, &stubData), std::make_pair(&script, &scriptData),
                                   std::make_pair(&archive, &archiveData)}) {
    if (!ReadWhole(*path, *data)) {
      std::fprintf(stderr, "error: %s cannot be read\n", path->c_str());
      return 1;
    }
  }
  // Setup takes the first places where the markers stand: neither may
  // occur in the program or the script.
  const std::string marker1 = PackageMarker(1), marker2 = PackageMarker(2);
  for (const auto& [name, data] : {std::make_pair("stub", &stubData), std::make_pair("script", &scriptData)}) {
    if (data->find(marker1) != std::string::npos || data->find(marker2) != std::string::npos) {
      std::fprintf(stderr, "error: the %s contains a package marker\n", name);
      return 1;
    }
  }
  const std::string package = stubData + marker1 + scriptData + marker2 + archiveData;

  // Load it back as setup will before anything is written.
  std::unique_ptr<unsigned char[]> copy(new unsigned char[package.size()]);
  std::memcpy(copy.get(), package.data(), package.size());
  SetupPackage check;
  const PackageResult result = check.LoadFromBuffer(std::move(copy), package.size());
  if (result != PackageResult::kLoaded) {
    std::fprintf(stderr, "error: the package would not load: %s", PackageFailureMessage(result));
    if (result == PackageResult::kBadArchive)
      std::fprintf(stderr, " (archive: cause %d: %s)", check.ArchiveCause(),
                   CZipException::Meaning(check.ArchiveCause()));
    std::fputc('\n', stderr);
    return 1;
  }
  std::FILE* out = std::fopen(output.c_str(), "wb");
  if (!out) {
    std::fprintf(stderr, "error: %s cannot be created\n", output.c_str());
    return 1;
  }
  const bool written = std::fwrite(package.data(), 1, package.size(), out) == package.size();
  if (std::fclose(out) != 0 || !written) {
    std::fprintf(stderr, "error: %s could not be written\n", output.c_str());
    std::remove(output.c_str());
    return 1;
  }
  return 0;
}

int Inspect(const char* path) {
  SetupPackage package;
  const PackageResult result = package.Load(path);
  if (result != PackageResult::kLoaded) {
    std::fprintf(stderr, "%s\n", PackageFailureMessage(result));
    if (result == PackageResult::kBadArchive)
      std::fprintf(stderr, "error: cause %d: %s\n", package.ArchiveCause(),
                   CZipException::Meaning(package.ArchiveCause()));
    return 1;
  }
  const SetupScript& s = package.Script();
  std::string out = "{";
  out += "\"AppName\": " + Json(s.AppName);
  out += ", \"Language\": " + Json(s.Language);
  out += ", \"DefaultDest\": " + Json(s.DefaultDest);
  out += ", \"Agreement\": " + Json(s.Agreement);
  out += ", \"RunningCheckWindowClass\": " + Json(s.RunningCheckWindowClass);
  out += ", \"RunningCheckWindowTitle\": " + Json(s.RunningCheckWindowTitle);
  out += ", \"Shortcuts\": " + JsonShortcuts(s.Shortcuts);
  out += ", \"StartupShortcuts\": " + JsonShortcuts(s.StartupShortcuts);
  out += ", \"DesktopShortcuts\": " + JsonShortcuts(s.DesktopShortcuts);
  out += ", \"GeneratedFiles\": " + JsonList(s.GeneratedFiles);
  out += ", \"InstallFonts\": " + JsonList(s.InstallFonts);
  out += ", \"NativeMessagingHosts\": [";
  for (std::size_t i = 0; i < s.NativeMessagingHosts.size(); ++i)
    out += std::string(i ? ", " : "") + "{\"name\": " + Json(s.NativeMessagingHosts[i].name) +
           ", \"manifest\": " + Json(s.NativeMessagingHosts[i].manifest) + "}";
  out += "]";
  out += ", \"entries\": [";
  ArchiveReader& archive = package.Archive();
  ArchiveEntryInfo info;
  for (int i = 0; i < archive.GetEntryCount(); ++i) {
    archive.GetEntryInfo(i, info);
    char crc[16];
    std::snprintf(crc, sizeof crc, "%08lx", static_cast<unsigned long>(info.crc32));
    out += (i ? ", " : "") + std::string("{\"name\": ") + JsonUtf8(EntryNameToUtf8(info.name)) +
           ", \"size\": " + std::to_string(info.uncompressedSize) + ", \"crc32\": \"" + crc + "\"}";
  }
  out += "]}\n";
  std::fputs(out.c_str(), stdout);
  return std::fflush(stdout) == 0 ? 0 : 1;
}

std::vector<std::string> Texts(const std::vector<UninstallRecord::PathSlot>& slots) {
  std::vector<std::string> texts;
  for (const auto& slot : slots) texts.emplace_back(slot.data());
  return texts;
}

int Record(const char* path) {
  UninstallRecord record;
  if (ReadUninstallRecord(record, RecordDepth::kUninstaller, path) != 0) {
    std::fprintf(stderr, "error: %s is missing, not an uninstall record, or damaged\n", path);
    return 1;
  }
  std::string out = "{";
  out += "\"appName\": " + Json(record.appName);
  out += ", \"files\": " + JsonList(Texts(record.files));
  out += ", \"shortcuts\": " + JsonList(Texts(record.shortcuts));
  out += ", \"generatedFiles\": " + JsonList(Texts(record.generatedFiles));
  out += ", \"windowClass\": " + Json(record.windowClass);
  out += ", \"windowTitle\": " + Json(record.windowTitle);
  out += ", \"nativeHosts\": " + JsonList(Texts(record.nativeHosts));
  out += "}\n";
  std::fputs(out.c_str(), stdout);
  return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (WantsVersion(argc, argv)) return PrintVersion("kelvane-package");
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0))
    return std::fputs(kUsage, stdout) >= 0 && std::fflush(stdout) == 0 ? 0 : 1;
  if (argc < 2) return Usage();
  const std::string command = argv[1];
  if (command == "build") return Build(argc, argv);
  if (command == "inspect" && argc == 3) return Inspect(argv[2]);
  if (command == "record" && argc == 3) return Record(argv[2]);
  return Usage();
}
