// File-system half of the archive reader for POSIX systems.  Entry names
// become UTF-8, the encoding of file names here; on disk only the separator
// changes.
#ifndef _WIN32

#include "setup/archive/ArchivePlatform.h"

#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// OEM code page 437 bytes 0x80-0xFF in UTF-8.
const char* const kOemHighUtf8[128] = {
    "\xC3\x87",     "\xC3\xBC",     "\xC3\xA9",     "\xC3\xA2",     "\xC3\xA4",     "\xC3\xA0",     "\xC3\xA5",
    "\xC3\xA7",     "\xC3\xAA",     "\xC3\xAB",     "\xC3\xA8",     "\xC3\xAF",     "\xC3\xAE",     "\xC3\xAC",
    "\xC3\x84",     "\xC3\x85",     "\xC3\x89",     "\xC3\xA6",     "\xC3\x86",     "\xC3\xB4",     "\xC3\xB6",
    "\xC3\xB2",     "\xC3\xBB",     "\xC3\xB9",     "\xC3\xBF",     "\xC3\x96",     "\xC3\x9C",     "\xC2\xA2",
    "\xC2\xA3",     "\xC2\xA5",     "\xE2\x82\xA7", "\xC6\x92",     "\xC3\xA1",     "\xC3\xAD",     "\xC3\xB3",
    "\xC3\xBA",     "\xC3\xB1",     "\xC3\x91",     "\xC2\xAA",     "\xC2\xBA",     "\xC2\xBF",     "\xE2\x8C\x90",
    "\xC2\xAC",     "\xC2\xBD",     "\xC2\xBC",     "\xC2\xA1",     "\xC2\xAB",     "\xC2\xBB",     "\xE2\x96\x91",
    "\xE2\x96\x92", "\xE2\x96\x93", "\xE2\x94\x82", "\xE2\x94\xA4", "\xE2\x95\xA1", "\xE2\x95\xA2", "\xE2\x95\x96",
    "\xE2\x95\x95", "\xE2\x95\xA3", "\xE2\x95\x91", "\xE2\x95\x97", "\xE2\x95\x9D", "\xE2\x95\x9C", "\xE2\x95\x9B",
    "\xE2\x94\x90", "\xE2\x94\x94", "\xE2\x94\xB4", "\xE2\x94\xAC", "\xE2\x94\x9C", "\xE2\x94\x80", "\xE2\x94\xBC",
    "\xE2\x95\x9E", "\xE2\x95\x9F", "\xE2\x95\x9A", "\xE2\x95\x94", "\xE2\x95\xA9", "\xE2\x95\xA6", "\xE2\x95\xA0",
    "\xE2\x95\x90", "\xE2\x95\xAC", "\xE2\x95\xA7", "\xE2\x95\xA8", "\xE2\x95\xA4", "\xE2\x95\xA5", "\xE2\x95\x99",
    "\xE2\x95\x98", "\xE2\x95\x92", "\xE2\x95\x93", "\xE2\x95\xAB", "\xE2\x95\xAA", "\xE2\x94\x98", "\xE2\x94\x8C",
    "\xE2\x96\x88", "\xE2\x96\x84", "\xE2\x96\x8C", "\xE2\x96\x90", "\xE2\x96\x80", "\xCE\xB1",     "\xC3\x9F",
    "\xCE\x93",     "\xCF\x80",     "\xCE\xA3",     "\xCF\x83",     "\xC2\xB5",     "\xCF\x84",     "\xCE\xA6",
    "\xCE\x98",     "\xCE\xA9",     "\xCE\xB4",     "\xE2\x88\x9E", "\xCF\x86",     "\xCE\xB5",     "\xE2\x88\xA9",
    "\xE2\x89\xA1", "\xC2\xB1",     "\xE2\x89\xA5", "\xE2\x89\xA4", "\xE2\x8C\xA0", "\xE2\x8C\xA1", "\xC3\xB7",
    "\xE2\x89\x88", "\xC2\xB0",     "\xE2\x88\x99", "\xC2\xB7",     "\xE2\x88\x9A", "\xE2\x81\xBF", "\xC2\xB2",
    "\xE2\x96\xA0", "\xC2\xA0",
};

bool IsUtf8(const std::string& text) {
  std::string ignored;
  return Utf8ToAnsi(text, ignored);
}

std::string OemToUtf8(const std::string& oem) {
  std::string out;
  out.reserve(oem.size());
  for (char c : oem) {
    const unsigned char b = static_cast<unsigned char>(c);
    if (b < 0x80)
      out += c;
    else
      out += kOemHighUtf8[b - 0x80];
  }
  return out;
}

std::string NativePath(const std::string& path) {
  std::string native(path);
  for (char& c : native)
    if (c == '\\') c = '/';
  return native;
}

bool IsDirectoryPath(const std::string& native) {
  struct stat st;
  return stat(native.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

class PosixOutput : public IArchiveOutput {
public:
  explicit PosixOutput(int fd) : fd_(fd) {}
  ~PosixOutput() override { Close(); }
  PosixOutput(const PosixOutput&) = delete;
  PosixOutput& operator=(const PosixOutput&) = delete;

  bool Write(const unsigned char* data, std::size_t size) override {
    while (size > 0) {
      const ssize_t written = ::write(fd_, data, size);
      if (written < 0) {
        if (errno == EINTR) continue;
        failed_ = true;
        return false;
      }
      data += written;
      size -= static_cast<std::size_t>(written);
    }
    return true;
  }

  bool Close() override {
    if (fd_ < 0) return !failed_;
    if (::close(fd_) != 0) failed_ = true;
    fd_ = -1;
    return !failed_;
  }

private:
  int fd_;
  bool failed_ = false;
};

class PosixArchivePlatform : public IArchivePlatform {
public:
  std::string ConvertName(const std::string& raw, bool utf8) const override {
    // A name flagged UTF-8 that is not is read as the OEM code page, as
    // every other name is.
    if (utf8 && IsUtf8(raw)) return raw;
    return OemToUtf8(raw);
  }

  bool CreateDirectories(const std::string& path) override {
    const std::string native = NativePath(path);
    if (native.empty()) return true;
    for (std::size_t i = 1; i <= native.size(); ++i) {
      if (i < native.size() && native[i] != '/') continue;
      const std::string part = native.substr(0, i);
      if (::mkdir(part.c_str(), 0777) != 0 && !(errno == EEXIST && IsDirectoryPath(part))) return false;
    }
    return true;
  }

  std::unique_ptr<IArchiveOutput> CreateOutputFile(const std::string& path) override {
    const std::string native = NativePath(path);
    struct stat st;
    if (lstat(native.c_str(), &st) == 0) {
      if (!S_ISREG(st.st_mode)) return nullptr;
      if (!(st.st_mode & S_IWUSR)) ::chmod(native.c_str(), st.st_mode | S_IWUSR);
    }
    const int fd = ::open(native.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) return nullptr;
    return std::unique_ptr<IArchiveOutput>(new PosixOutput(fd));
  }

  void RemoveFile(const std::string& path) override { ::unlink(NativePath(path).c_str()); }

  bool SetFileInfo(const std::string& path, bool, std::uint16_t dosDate, std::uint16_t dosTime, std::uint8_t) override {
    // Attributes are a Windows matter; here only the time is applied.
    const int day = dosDate & 0x1F;
    const int month = (dosDate >> 5) & 0x0F;
    const int hour = dosTime >> 11;
    const int minute = (dosTime >> 5) & 0x3F;
    const int second = (dosTime & 0x1F) * 2;
    if (day == 0 || month == 0 || month > 12 || hour > 23 || minute > 59 || second > 59) return true;
    struct tm local = {};
    local.tm_year = 80 + (dosDate >> 9);
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = second;
    local.tm_isdst = -1;
    const time_t when = mktime(&local);
    if (when == static_cast<time_t>(-1)) return true;
    struct timespec times[2];
    times[0].tv_sec = when;
    times[0].tv_nsec = 0;
    times[1] = times[0];
    return utimensat(AT_FDCWD, NativePath(path).c_str(), times, 0) == 0;
  }
};

}  // namespace

IArchivePlatform& DefaultArchivePlatform() {
  static PosixArchivePlatform platform;
  return platform;
}

std::string EntryNameToUtf8(const std::string& name) {
  return name;
}

#endif
