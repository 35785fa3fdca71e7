// --version, answered the same way by every command-line tool.
#pragma once

#include <cstdio>
#include <cstring>

#include "KelvaneVersion.h"

// True when an argument before any "--" is --version.
inline bool WantsVersion(int argc, const char* const* argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--") == 0) return false;
    if (std::strcmp(argv[i], "--version") == 0) return true;
  }
  return false;
}

// Writes "TOOL VERSION" to standard output; the exit status.
inline int PrintVersion(const char* tool) {
  const bool written = std::printf("%s %s\n", tool, KELVANE_VERSION) > 0;
  return std::fflush(stdout) == 0 && written ? 0 : 1;
}
