// kelvane-host: the reply engine for the Thunderbird add-on, over native
// messaging on standard input and output.
#include <cstdio>
#include <cstring>

#include "BinaryStdio.h"
#include "ByteStreams.h"
#include "HostSession.h"
#include "tools/version/ToolVersion.h"
#if defined(KELVANE_UTF8_MEASURE)
#include "engine/unicode/Utf8Measure.h"
#endif

namespace {

const char kUsage[] =
    "usage: kelvane-host [MANIFEST ADD-ON-ID]\n"
    "\n"
    "The native messaging host of the Kelvane add-on for Thunderbird, which starts\n"
    "it with the path of its manifest and the add-on's id.  It reads requests from\n"
    "standard input and writes replies to standard output, each a 32-bit length in\n"
    "the machine's byte order and that many bytes of JSON, until the input ends.\n"
    "\n"
    "  --help      show this help\n"
    "  --version   show the version\n";

enum class Start { kHost, kHelp, kVersion, kUsageError };

// Thunderbird's arguments are a path and an id, never an option: anything
// that begins with "--" was typed by hand.
Start ReadArguments(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    if (std::strcmp(arg, "--") == 0) break;
    if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) return Start::kHelp;
    if (std::strcmp(arg, "--version") == 0) return Start::kVersion;
    if (arg[0] == '-' && arg[1] != '\0') {
      std::fprintf(stderr, "kelvane-host: unknown option %s\n%s", arg, kUsage);
      return Start::kUsageError;
    }
  }
  return Start::kHost;
}

}  // namespace

int main(int argc, char** argv) {
  switch (ReadArguments(argc, argv)) {
    case Start::kHelp:
      return std::fputs(kUsage, stdout) >= 0 && std::fflush(stdout) == 0 ? 0 : 1;
    case Start::kVersion:
      return PrintVersion("kelvane-host");
    case Start::kUsageError:
      return 2;
    case Start::kHost:
      break;
  }
  SetBinaryStdio();
  HostSetup setup;
#if defined(KELVANE_UTF8_MEASURE)
  setup.measure = &Utf8Measure();
#endif
  FileReader in(stdin);
  FileWriter out(stdout);
  return RunHostSession(in, out, setup);
}
