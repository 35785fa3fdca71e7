// The host's one connection: requests in, replies out, in order, until the
// input ends.
#pragma once

#include "ByteStreams.h"
#include "HostRequest.h"

// Answers every frame of `in` on `out`.  Returns 0 when the input ends (also
// in the middle of a frame), 1 when a reply could not be written.
int RunHostSession(ByteReader& in, ByteWriter& out, const HostSetup& setup);
