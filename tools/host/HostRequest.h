// One request of the add-on answered: the JSON text of a request frame in,
// the JSON text of its reply out.  docs/native-messaging.md is the protocol.
#pragma once

#include <string>

#include "engine/TextMeasure.h"

struct HostSetup {
  // The UTF-8 measure; null in a build without one (Windows), where bodies
  // are measured in bytes.
  const TextMeasure* measure = nullptr;
};

// The reply to a request; every reply, errors included, fits in a frame.
std::string AnswerRequest(const std::string& request, const HostSetup& setup);

// The reply to a frame that was too large to be read.
std::string TooLargeReply();
