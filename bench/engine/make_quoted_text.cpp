// Writes N bytes of generated quoted text (line feed line ends) to standard
// output, the input of compare-par.sh; "utf-8" as a second argument gives
// German, French and Japanese text.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "QuotedText.h"

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: make_quoted_text BYTES [utf-8]\n");
    return 2;
  }
  std::string text;
  AppendQuotedText(text, std::strtoull(argv[1], nullptr, 10), "\n", argc == 3);
  return std::fwrite(text.data(), 1, text.size(), stdout) == text.size() ? 0 : 1;
}
