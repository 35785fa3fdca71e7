// The Thunderbird host's frames and requests.  The first byte chooses what
// the rest is: a stream of frames as it arrives (odd), or one request that
// is framed here and followed by a ping (even), which must be answered
// whatever came before it.  Every reply must be a whole frame of JSON with
// the protocol's members, and the session must end with status 0.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "ByteStreams.h"
#include "Framing.h"
#include "HostJson.h"
#include "HostSession.h"
#include "engine/unicode/Utf8Measure.h"

namespace {

std::string Frame(const std::string& message) {
  const std::uint32_t length = static_cast<std::uint32_t>(message.size());
  std::string frame(sizeof length, '\0');
  std::memcpy(&frame[0], &length, sizeof length);
  return frame + message;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const bool stream = (data[0] & 1) != 0;
  const std::string rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::string input = stream ? rest : Frame(rest) + Frame(R"({"version":1,"id":99,"type":"ping"})");

  HostSetup setup;
  setup.measure = &Utf8Measure();
  StringReader in(input);
  StringWriter out;
  if (RunHostSession(in, out, setup) != 0) std::abort();

  StringReader replies(out.bytes);
  std::string frame;
  std::size_t count = 0;
  std::size_t read = 0;
  HostJson last;
  while (ReadFrame(replies, frame) == FrameRead::kFrame) {
    read += 4 + frame.size();
    last = HostJson::parse(frame, nullptr, false);
    if (!last.is_object() || last.value("version", 0) != 1) std::abort();
    const auto ok = last.find("ok");
    if (ok == last.end() || !ok->is_boolean()) std::abort();
    if (!ok->get<bool>() && !last.contains("error")) std::abort();
    if (last.contains("body") && last.value("result", 1) == 1) std::abort();
    ++count;
  }
  if (read != out.bytes.size()) std::abort();
  if (!stream && (count != 2 || last.value("id", 0) != 99 || !last.contains("program"))) std::abort();
  return 0;
}
