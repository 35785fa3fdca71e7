#include "engine/TextMeasure.h"

namespace {

class Bytes final : public TextMeasure {
public:
  LineFit Fit(const char* text, std::size_t length, long long room, BreakRule rule) const override {
    LineFit fit;
    if (static_cast<long long>(length) <= room) {
      fit.fits = true;
      return fit;
    }
    // The last opportunity among the first `room` characters.  The text is
    // longer than the room, so text[j + 1] always exists.
    for (long long j = room > 0 ? room - 1 : -1; j >= 0; --j) {
      const auto at = static_cast<std::size_t>(j);
      const char c = text[at];
      if (c == ' ') {
        if (rule == BreakRule::kMail && text[at + 1] == '>') continue;
        fit.breakAt = rule == BreakRule::kFlowed ? at + 1 : at;
        break;
      }
      if (c == '-' && rule == BreakRule::kReply && at > 0 && IsHyphenLetter(text[at - 1]) &&
          IsHyphenLetter(text[at + 1])) {
        fit.breakAt = at + 1;
        break;
      }
    }
    return fit;
  }
  long long Width(const char*, std::size_t length) const override { return static_cast<long long>(length); }
  bool StartsWide(const char*, std::size_t) const override { return false; }
  bool EndsWide(const char*, std::size_t) const override { return false; }
  bool IsUnicode() const override { return false; }
};

}  // namespace

const TextMeasure& BytesMeasure() {
  static const Bytes measure;
  return measure;
}

bool IsValidUtf8(const char* text, std::size_t length) {
  const auto* s = reinterpret_cast<const unsigned char*>(text);
  std::size_t i = 0;
  while (i < length) {
    const unsigned char c = s[i];
    if (c < 0x80) {
      ++i;
      continue;
    }
    std::size_t n = 0;
    unsigned char lo = 0x80, hi = 0xBF;  // range of the second byte
    if (c >= 0xC2 && c <= 0xDF) {
      n = 1;
    } else if (c >= 0xE0 && c <= 0xEF) {
      n = 2;
      if (c == 0xE0) lo = 0xA0;  // no overlong forms
      if (c == 0xED) hi = 0x9F;  // no surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
      n = 3;
      if (c == 0xF0) lo = 0x90;
      if (c == 0xF4) hi = 0x8F;  // nothing above U+10FFFF
    } else {
      return false;
    }
    if (length - i <= n) return false;
    if (s[i + 1] < lo || s[i + 1] > hi) return false;
    for (std::size_t k = 2; k <= n; ++k)
      if ((s[i + k] & 0xC0) != 0x80) return false;
    i += n + 1;
  }
  return true;
}
