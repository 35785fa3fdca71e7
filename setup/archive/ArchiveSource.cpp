#include "setup/archive/ArchiveSource.h"

#include <cstring>

namespace {

bool SeekTo(std::FILE* file, std::uint64_t offset) {
#ifdef _WIN32
  return _fseeki64(file, static_cast<__int64>(offset), SEEK_SET) == 0;
#else
  return fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
}

}  // namespace

std::size_t MemoryArchiveSource::ReadAt(std::uint64_t offset, void* buffer, std::size_t size) {
  if (offset >= size_) return 0;
  const std::size_t available = size_ - static_cast<std::size_t>(offset);
  const std::size_t count = size < available ? size : available;
  std::memcpy(buffer, data_ + offset, count);
  return count;
}

FileArchiveSource::~FileArchiveSource() {
  if (file_) std::fclose(file_);
}

bool FileArchiveSource::Open(const std::string& path) {
  if (file_) std::fclose(file_);
  file_ = std::fopen(path.c_str(), "rb");
  if (!file_) return false;
#ifdef _WIN32
  const bool atEnd = _fseeki64(file_, 0, SEEK_END) == 0;
  const long long end = atEnd ? _ftelli64(file_) : -1;
#else
  const bool atEnd = fseeko(file_, 0, SEEK_END) == 0;
  const long long end = atEnd ? static_cast<long long>(ftello(file_)) : -1;
#endif
  if (end < 0) {
    std::fclose(file_);
    file_ = nullptr;
    return false;
  }
  length_ = static_cast<std::uint64_t>(end);
  position_ = length_;
  return true;
}

std::size_t FileArchiveSource::ReadAt(std::uint64_t offset, void* buffer, std::size_t size) {
  if (!file_ || offset >= length_) return 0;
  // Sequential reads, the common case while extracting, need no seek.
  if (position_ != offset) {
    if (!SeekTo(file_, offset)) return 0;
    position_ = offset;
  }
  const std::size_t got = std::fread(buffer, 1, size, file_);
  position_ += got;
  if (got < size) position_ = ~std::uint64_t{0};
  return got;
}
