#include "HostSession.h"

#include <string>

#include "Framing.h"

int RunHostSession(ByteReader& in, ByteWriter& out, const HostSetup& setup) {
  std::string frame;
  for (;;) {
    std::string reply;
    switch (ReadFrame(in, frame)) {
      case FrameRead::kEnd:
        return 0;
      case FrameRead::kTooLarge:
        reply = TooLargeReply();
        break;
      case FrameRead::kFrame:
        reply = AnswerRequest(frame, setup);
        break;
    }
    if (!WriteFrame(out, reply)) return 1;
  }
}
