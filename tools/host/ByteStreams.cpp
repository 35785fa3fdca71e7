#include "ByteStreams.h"

#include <cstring>

std::size_t StringReader::Read(char* data, std::size_t size) {
  const std::size_t n = size < size_ - pos_ ? size : size_ - pos_;
  if (n > 0) std::memcpy(data, data_ + pos_, n);
  pos_ += n;
  return n;
}
