// Native messaging frames, both ways: a 32-bit unsigned length in the
// machine's byte order, then that many bytes of UTF-8 JSON.
#pragma once

#include <cstddef>
#include <string>

#include "ByteStreams.h"

// Thunderbird takes no message from a host longer than 1 MiB, and the host
// takes none longer from it: a request's body is a reply being written, far
// below that.
inline constexpr std::size_t kMaxFrameSize = 1024 * 1024;

enum class FrameRead {
  kFrame,     // `frame` holds the message
  kTooLarge,  // the message was longer than kMaxFrameSize; its bytes were skipped
  kEnd,       // the input ended, also in the middle of a frame
};

// The next message.  A message that is too large is read past in small
// pieces, never held.
FrameRead ReadFrame(ByteReader& in, std::string& frame);

// Writes one message and flushes it; false when it could not be written or
// is longer than kMaxFrameSize.
bool WriteFrame(ByteWriter& out, const std::string& message);
