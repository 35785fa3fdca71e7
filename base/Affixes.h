// Whether a text begins or ends with a literal.
#pragma once

#include <cstring>
#include <string>

inline bool StartsWith(const std::string& text, const char* with) {
  const std::size_t n = std::strlen(with);
  return text.size() >= n && text.compare(0, n, with) == 0;
}

inline bool EndsWith(const std::string& text, const char* with) {
  const std::size_t n = std::strlen(with);
  return text.size() >= n && text.compare(text.size() - n, n, with) == 0;
}
