// kelvane-reformat: the reply engine as a filter for any mail client or editor.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "BinaryStdio.h"
#include "ColourFilter.h"
#include "ReformatFilter.h"
#include "tools/version/ToolVersion.h"

int main(int argc, char** argv) {
  if (WantsVersion(argc, argv)) return PrintVersion("kelvane-reformat");
  SetBinaryStdio();
  std::string messages;
  int status = FilterOk;
  bool writeFailed = false;
  if (WantsColourFilter(argc, argv)) {
    std::string output;
    status = RunColourFilter(argc, argv, stdin, output, messages);
    writeFailed = !output.empty() && std::fwrite(output.data(), 1, output.size(), stdout) != output.size();
  } else {
    // Writes its output itself, as it goes; a failed write is already reported.
    status = RunReformatFilter(argc, argv, stdin, stdout, messages);
  }
  if (std::fflush(stdout) != 0 && status == FilterOk) writeFailed = true;
  if (writeFailed) {
    messages += std::string("kelvane-reformat: standard output: ") + std::strerror(errno) + "\n";
    status = FilterFileError;
  }
  std::fputs(messages.c_str(), stderr);
  return status;
}
