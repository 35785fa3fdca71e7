#include "Framing.h"

#include <cstdint>
#include <cstring>

namespace {

// Skips `count` bytes; false when the input ends first.
bool Skip(ByteReader& in, std::uint64_t count) {
  char chunk[16 * 1024];
  while (count > 0) {
    const std::size_t want = count < sizeof chunk ? static_cast<std::size_t>(count) : sizeof chunk;
    const std::size_t got = in.Read(chunk, want);
    if (got == 0) return false;
    count -= got;
  }
  return true;
}

}  // namespace

FrameRead ReadFrame(ByteReader& in, std::string& frame) {
  frame.clear();
  char header[4];
  std::size_t have = 0;
  while (have < sizeof header) {
    const std::size_t got = in.Read(header + have, sizeof header - have);
    if (got == 0) return FrameRead::kEnd;
    have += got;
  }
  std::uint32_t length = 0;
  std::memcpy(&length, header, sizeof length);
  if (length > kMaxFrameSize) return Skip(in, length) ? FrameRead::kTooLarge : FrameRead::kEnd;
  frame.resize(length);
  std::size_t done = 0;
  while (done < frame.size()) {
    const std::size_t got = in.Read(&frame[done], frame.size() - done);
    if (got == 0) {
      frame.clear();
      return FrameRead::kEnd;
    }
    done += got;
  }
  return FrameRead::kFrame;
}

bool WriteFrame(ByteWriter& out, const std::string& message) {
  if (message.size() > kMaxFrameSize) return false;
  const std::uint32_t length = static_cast<std::uint32_t>(message.size());
  char header[sizeof length];
  std::memcpy(header, &length, sizeof length);
  return out.Write(header, sizeof header) && out.Write(message.data(), message.size()) && out.Flush();
}
