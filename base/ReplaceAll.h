// Replacing every occurrence of a text in a string.
#pragma once

#include <string>

// Replaces every occurrence of `from` (non-empty), scanning left to right and
// never rescanning replaced text.  Returns the number of replacements.  The
// result is built in one pass, so a text with many hits costs linear time.
inline int ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
  std::size_t hit = text.find(from);
  if (hit == std::string::npos) return 0;
  std::string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  int count = 0;
  for (; hit != std::string::npos; hit = text.find(from, pos)) {
    out.append(text, pos, hit - pos);
    out += to;
    pos = hit + from.size();
    ++count;
  }
  out.append(text, pos, std::string::npos);
  text.swap(out);
  return count;
}
