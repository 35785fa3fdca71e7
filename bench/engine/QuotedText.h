// Deterministic reply bodies of a chosen size for the benchmarks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Quoted paragraphs of depth 1 and 2, separated by quote-only lines, with
// lines a little longer than the wrap column so that every paragraph is
// re-flowed.  `lineEnd` follows every line.
inline void AppendQuotedText(std::string& body, std::size_t bytes, const char* lineEnd) {
  static const char* const kWords[] = {"the",    "quoted",  "message", "was",        "longer", "than", "anyone",
                                       "wanted", "to",      "read",    "so",         "it",     "had",  "to",
                                       "be",     "wrapped", "again",   "well-known", "text",   "and",  "more"};
  uint32_t state = 12345;
  auto next = [&state]() {
    state = state * 1103515245u + 12345u;
    return (state >> 16) & 0x7FFFu;
  };
  while (body.size() < bytes) {
    const bool deeper = next() % 4 == 0;
    const unsigned lines = 3 + next() % 8;
    for (unsigned l = 0; l < lines; ++l) {
      std::string line = deeper ? "> > " : "> ";
      const std::size_t target = 60 + next() % 25;
      while (line.size() < target) {
        line += kWords[next() % (sizeof kWords / sizeof kWords[0])];
        line += ' ';
      }
      line.pop_back();
      body += line;
      body += lineEnd;
    }
    body += ">";
    body += lineEnd;
  }
}

// A reply as the mail client opens it: own part, separator header, quoted
// text ending in the sender's signature, CR LF line ends.
inline std::string MakeReplyBody(std::size_t bytes) {
  std::string body =
      "\r\n\r\n-- \r\nBob\r\n----- Message -----\r\nFrom: \"Ann Lee\" <ann.lee>\r\n"
      "To: <bob>\r\nSent: Monday\r\nSubject: Test\r\n\r\n";
  AppendQuotedText(body, bytes, "\r\n");
  body += "> -- \r\n> Ann";
  return body;
}
