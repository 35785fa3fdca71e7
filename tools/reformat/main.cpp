// kelvane-reformat: the reply engine as a filter for any mail client or editor.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "BinaryStdio.h"
#include "ColourFilter.h"
#include "Locale.h"
#include "ReformatFilter.h"
#include "tools/version/ToolVersion.h"
#if defined(KELVANE_UTF8_MEASURE)
#include "engine/unicode/Utf8Measure.h"
#endif

int main(int argc, char** argv) {
  if (WantsVersion(argc, argv)) return PrintVersion("kelvane-reformat");
  SetBinaryStdio();
  std::string messages;
  int status = kFilterOk;
  bool writeFailed = false;
  if (WantsColourFilter(argc, argv)) {
    std::string output;
    status = RunColourFilter(argc, argv, stdin, output, messages);
    writeFailed = !output.empty() && std::fwrite(output.data(), 1, output.size(), stdout) != output.size();
  } else {
    // Writes its output itself, as it goes; a failed write is already reported.
    FilterEnvironment environment;
#if defined(KELVANE_UTF8_MEASURE)
    environment.utf8 = &Utf8Measure();
#endif
    environment.localeIsUtf8 = LocaleIsUtf8();
    status = RunReformatFilter(argc, argv, stdin, stdout, messages, environment);
  }
  if (std::fflush(stdout) != 0 && status == kFilterOk) writeFailed = true;
  if (writeFailed) {
    messages += std::string("kelvane-reformat: standard output: ") + std::strerror(errno) + "\n";
    status = kFilterFileError;
  }
  std::fputs(messages.c_str(), stderr);
  return status;
}
