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
