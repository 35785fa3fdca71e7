// Deterministic reply bodies of a chosen size for the benchmarks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Quoted paragraphs of depth 1 and 2, separated by quote-only lines, with
// lines a little longer than the wrap column so that every paragraph is
// re-flowed.  `lineEnd` follows every line.
// With `utf8`, the words are German, French and Japanese UTF-8 text instead.
inline void AppendQuotedText(std::string& body, std::size_t bytes, const char* lineEnd, bool utf8 = false) {
  static const char* const kAscii[] = {"the",    "quoted",  "message", "was",        "longer", "than", "anyone",
                                       "wanted", "to",      "read",    "so",         "it",     "had",  "to",
                                       "be",     "wrapped", "again",   "well-known", "text",   "and",  "more"};
  static const char* const kUtf8[] = {"Sch\xC3\xB6ne",
                                      "Gr\xC3\xBC\xC3\x9F"
                                      "e",
                                      "aus",
                                      "M\xC3\xBCnchen",
                                      "\xC3\xBC"
                                      "ber",
                                      "die",
                                      "Br\xC3\xBC"
                                      "cke",
                                      "fr\xC3\xBCh",
                                      "gemeinsam",
                                      "zur",
                                      "B\xC3\xA4"
                                      "ckerei",
                                      "d\xC3\xA9j\xC3\xA0",
                                      "\xC3\xA9t\xC3\xA9",
                                      "na\xC3\xAFve",
                                      "gar\xC3\xA7on",
                                      "wei\xC3\x9F-blau",
                                      "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E",
                                      "\xE6\x96\x87\xE7\xAB\xA0\xE3\x81\xA7\xE3\x81\x99\xE3\x80\x82",
                                      "und",
                                      "et",
                                      "mehr"};
  const char* const* kWords = utf8 ? kUtf8 : kAscii;
  const std::size_t wordCount = utf8 ? sizeof kUtf8 / sizeof kUtf8[0] : sizeof kAscii / sizeof kAscii[0];
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
        line += kWords[next() % wordCount];
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
inline std::string MakeReplyBody(std::size_t bytes, bool utf8 = false) {
  std::string body =
      "\r\n\r\n-- \r\nBob\r\n----- Message -----\r\nFrom: \"Ann Lee\" <ann.lee>\r\n"
      "To: <bob>\r\nSent: Monday\r\nSubject: Test\r\n\r\n";
  AppendQuotedText(body, bytes, "\r\n", utf8);
  body += "> -- \r\n> Ann";
  return body;
}
