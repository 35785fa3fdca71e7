#include "ui/IntegerText.h"

#include <cstdio>

#include "base/TextChars.h"

namespace ui {

bool ParseDialogInteger(const std::string& text, int32_t& value) {
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n && IsSpaceOrLineEnd(text[i])) ++i;
  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  const std::size_t firstDigit = i;
  // Accumulate as a negative number so that INT32_MIN fits.
  int64_t magnitude = 0;
  while (i < n && text[i] >= '0' && text[i] <= '9') {
    magnitude = magnitude * 10 + (text[i] - '0');
    if (magnitude > int64_t{INT32_MAX} + 1) return false;
    ++i;
  }
  if (i == firstDigit) return false;
  while (i < n && IsSpaceOrLineEnd(text[i])) ++i;
  if (i != n) return false;
  const int64_t result = negative ? -magnitude : magnitude;
  if (result > INT32_MAX || result < INT32_MIN) return false;
  value = static_cast<int32_t>(result);
  return true;
}

std::string FormatDialogInteger(int32_t value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%ld", static_cast<long>(value));
  return buffer;
}

}  // namespace ui
