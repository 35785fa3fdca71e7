#include "setup/package/SetupPackage.h"

#include <cstdio>
#include <cstring>
#include <new>

namespace {

// Kept with a '?' in the second place; the 'o' is put in at run time.
const char kMarker1[] = "-?verlay1-";
const char kMarker2[] = "-?verlay2-";
constexpr std::size_t kMarkerLength = 10;

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

std::string PackageMarker(int index) {
  std::string marker(index == 1 ? kMarker1 : kMarker2, kMarkerLength);
  // A volatile source keeps the compiler from folding the finished marker
  // into the image.
  volatile char letter = 'o';
  marker[1] = letter;
  return marker;
}

const char* PackageFailureMessage(PackageResult result) {
  switch (result) {
    case PackageResult::kLoaded:
      return "";
    case PackageResult::kCannotOpen:
      return "Source file could not be opened!\n\nIf you are running this setup application from the\n"
             "command prompt, try running it from Windows!";
    case PackageResult::kOutOfMemory:
      return "Out of memory!";
    case PackageResult::kCorrupt:
    case PackageResult::kBadArchive:
      return "The installation file is corrupt!";
  }
  return "";
}

PackageResult LoadSetupPackage(SetupPackage& package, const char* programPath) {
  return package.Load(programPath);
}

PackageResult SetupPackage::Load(const char* programPath) {
  std::unique_ptr<std::FILE, FileCloser> file(programPath ? std::fopen(programPath, "rb") : nullptr);
  if (!file) return PackageResult::kCannotOpen;
  if (std::fseek(file.get(), 0, SEEK_END) != 0) return PackageResult::kCannotOpen;
  const long length = std::ftell(file.get());
  if (length < 0 || std::fseek(file.get(), 0, SEEK_SET) != 0) return PackageResult::kCannotOpen;
  const std::size_t size = static_cast<std::size_t>(length);
  std::unique_ptr<unsigned char[]> buffer(new (std::nothrow) unsigned char[size ? size : 1]);
  if (!buffer) return PackageResult::kOutOfMemory;
  if (std::fread(buffer.get(), 1, size, file.get()) != size) return PackageResult::kCannotOpen;
  file.reset();
  return LoadFromBuffer(std::move(buffer), size);
}

PackageResult SetupPackage::LoadFromBuffer(std::unique_ptr<unsigned char[]> buffer, std::size_t size) {
  archive_.Close();
  script_ = SetupScript();
  scriptText_ = std::string_view();
  archiveCause_ = 0;
  buffer_ = std::move(buffer);
  size_ = size;

  const std::string marker1 = PackageMarker(1);
  const std::string marker2 = PackageMarker(2);
  std::size_t behind1 = 0, behind2 = 0;
  bool seen1 = false, seen2 = false;
  const unsigned char* data = buffer_.get();
  for (std::size_t pos = 0; size >= kMarkerLength && pos <= size - kMarkerLength;) {
    const void* dash = std::memchr(data + pos, '-', size - kMarkerLength + 1 - pos);
    if (!dash) break;
    pos = static_cast<std::size_t>(static_cast<const unsigned char*>(dash) - data);
    if (std::memcmp(data + pos, marker1.data(), kMarkerLength) == 0) {
      behind1 = pos + kMarkerLength;
      seen1 = true;
    } else if (std::memcmp(data + pos, marker2.data(), kMarkerLength) == 0) {
      behind2 = pos + kMarkerLength;
      seen2 = true;
    }
    if (seen1 && seen2) break;
    ++pos;
  }
  // A second marker in front of the first leaves no script between them.
  if (!seen1 || !seen2 || behind2 - kMarkerLength < behind1) {
    buffer_.reset();
    size_ = 0;
    return PackageResult::kCorrupt;
  }

  const std::size_t scriptEnd = behind2 - kMarkerLength;
  buffer_[scriptEnd] = 0;
  scriptText_ = std::string_view(reinterpret_cast<const char*>(data + behind1), scriptEnd - behind1);
  script_ = ParseSetupScript(scriptText_);

  try {
    archive_.Open(data + behind2, size - behind2);
  } catch (const CZipException& e) {
    archiveCause_ = e.Cause();
    return PackageResult::kBadArchive;
  }
  return PackageResult::kLoaded;
}
