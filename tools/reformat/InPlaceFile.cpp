#include "InPlaceFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

bool Fail(const std::string& what, std::string& error) {
  error = what + ": " + std::strerror(errno);
  return false;
}

bool WriteAll(int fd, const std::string& data) {
  std::size_t done = 0;
  while (done < data.size()) {
    const ssize_t n = write(fd, data.data() + done, data.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

bool ReplaceFileContents(const std::string& path, const std::string& data, std::string& error) {
  char resolved[PATH_MAX];
  if (realpath(path.c_str(), resolved) == nullptr) return Fail(path, error);
  const std::string target = resolved;
  struct stat info;
  if (stat(target.c_str(), &info) != 0) return Fail(path, error);
  if (!S_ISREG(info.st_mode)) {
    errno = EINVAL;
    return Fail(path + " (not a regular file)", error);
  }

  const std::size_t slash = target.rfind('/');
  const std::string folder = slash == 0 ? std::string("/") : target.substr(0, slash);
  std::string pattern = target.substr(0, slash + 1) + "." + target.substr(slash + 1) + ".XXXXXX";
  std::vector<char> temp(pattern.begin(), pattern.end());
  temp.push_back('\0');
  const int fd = mkstemp(temp.data());
  if (fd < 0) return Fail(folder + ": temporary file", error);
  const std::string tempName = temp.data();

  // The new file gets the original's permission bits and owner before it
  // takes the original's place; an owner that cannot be kept is a failure
  // rather than a silent change.
  int failure = 0;
  std::string what = tempName;
  errno = 0;
  if (!WriteAll(fd, data)) {
    failure = errno != 0 ? errno : EIO;
  } else if (fchmod(fd, info.st_mode & 07777) != 0) {
    failure = errno;
  } else if ((info.st_uid != geteuid() || info.st_gid != getegid()) && fchown(fd, info.st_uid, info.st_gid) != 0) {
    failure = errno;
    what = path + ": owner cannot be kept";
  } else if (fsync(fd) != 0) {
    failure = errno;
  }
  if (close(fd) != 0 && failure == 0) failure = errno;
  if (failure == 0 && rename(tempName.c_str(), target.c_str()) != 0) {
    failure = errno;
    what = path;
  }
  if (failure != 0) {
    unlink(tempName.c_str());
    errno = failure;
    return Fail(what, error);
  }
  // The rename itself reaches the disk with the folder.
  const int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (dir >= 0) {
    fsync(dir);
    close(dir);
  }
  return true;
}
