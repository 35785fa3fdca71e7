// kelvane-reformat: the reply engine as a filter for any mail client or editor.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "BinaryStdio.h"
#include "ReformatFilter.h"

int main(int argc, char** argv) {
  SetBinaryStdio();
  std::string messages;
  int status = RunReformatFilter(argc, argv, stdin, stdout, messages);
  if (std::fflush(stdout) != 0 && status == FilterOk) {
    messages += std::string("kelvane-reformat: standard output: ") + std::strerror(errno) + "\n";
    status = FilterFileError;
  }
  std::fputs(messages.c_str(), stderr);
  return status;
}
