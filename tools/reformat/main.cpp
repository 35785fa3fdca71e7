// kelvane-reformat: the reply engine as a filter for any mail client or editor.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "BinaryStdio.h"
#include "ColourFilter.h"
#include "ReformatFilter.h"

int main(int argc, char** argv) {
  SetBinaryStdio();
  std::string output;
  std::string messages;
  int status = WantsColourFilter(argc, argv) ? RunColourFilter(argc, argv, stdin, output, messages)
                                             : RunReformatFilter(argc, argv, stdin, output, messages);
  if (!output.empty() && std::fwrite(output.data(), 1, output.size(), stdout) != output.size()) status = -1;
  if (std::fflush(stdout) != 0) status = -1;
  if (status == -1) {
    messages += std::string("kelvane-reformat: standard output: ") + std::strerror(errno) + "\n";
    status = FilterFileError;
  }
  std::fputs(messages.c_str(), stderr);
  return status;
}
