// utf8proc gives the widths and the grapheme cluster boundaries, libunibreak
// the line-breaking classes (UAX #14) of wide characters.  ASCII takes a
// fast path that gives exactly what the bytes measure gives.
#include "engine/unicode/Utf8Measure.h"

#include <linebreak.h>
#include <utf8proc.h>

#include <cstdint>

namespace {

// One code point from text[pos]; an ill-formed byte is taken alone, as a
// character of one column that nothing joins, so that the text around it is
// never taken apart.
struct CodePoint {
  int32_t value;  // -1 for an ill-formed byte
  std::size_t length;
};

CodePoint DecodeAt(const char* text, std::size_t length, std::size_t pos) {
  utf8proc_int32_t cp = 0;
  const utf8proc_ssize_t n = utf8proc_iterate(reinterpret_cast<const utf8proc_uint8_t*>(text + pos),
                                              static_cast<utf8proc_ssize_t>(length - pos), &cp);
  if (n <= 0) return CodePoint{-1, 1};
  return CodePoint{cp, static_cast<std::size_t>(n)};
}

int CodePointWidth(int32_t cp) {
  if (cp < 0) return 1;
  if (cp < 0x80) return 1;  // as the bytes measure counts, control characters included
  return utf8proc_charwidth(cp);
}

// One grapheme cluster starting at `pos`.
struct Cluster {
  std::size_t end;
  int width;
  int32_t first;
  int32_t last;
};

Cluster ClusterAt(const char* text, std::size_t length, std::size_t pos) {
  const auto c = static_cast<unsigned char>(text[pos]);
  if (c < 0x80 && (pos + 1 == length || static_cast<unsigned char>(text[pos + 1]) < 0x80))
    return Cluster{pos + 1, 1, c, c};
  CodePoint cp = DecodeAt(text, length, pos);
  Cluster cluster{pos + cp.length, CodePointWidth(cp.value), cp.value, cp.value};
  if (cp.value < 0) return cluster;
  utf8proc_int32_t state = 0;
  while (cluster.end < length) {
    const CodePoint next = DecodeAt(text, length, cluster.end);
    if (next.value < 0 || utf8proc_grapheme_break_stateful(cluster.last, next.value, &state)) break;
    const int w = CodePointWidth(next.value);
    // A cluster is as wide as its widest member: a base with marks, an
    // emoji with its modifiers.
    if (w > cluster.width) cluster.width = w;
    cluster.last = next.value;
    cluster.end += next.length;
  }
  return cluster;
}

bool MayBreakBetween(int32_t before, int32_t after) {
  if (before < 0 || after < 0) return false;
  return is_line_breakable(static_cast<utf32_t>(before), static_cast<utf32_t>(after), nullptr) == LINEBREAK_ALLOWBREAK;
}

class Utf8 final : public TextMeasure {
public:
  Utf8() { init_linebreak(); }

  LineFit Fit(const char* text, std::size_t length, long long room, BreakRule rule) const override {
    LineFit fit;
    long long column = 0;
    std::size_t pos = 0;
    bool previousWide = false;
    int32_t previousLast = -1;
    while (pos < length) {
      const Cluster cluster = ClusterAt(text, length, pos);
      const bool single = cluster.end == pos + 1;
      const bool wide = cluster.width == 2;
      // Break opportunities at this cluster, while their line still fits.
      if (single && text[pos] == ' ' && column < room) {
        fit.breakAt = rule == BreakRule::Flowed ? pos + 1 : pos;
      } else if (single && text[pos] == '-' && column < room && rule == BreakRule::Reply) {
        fit.breakAt = pos + 1;
      } else if (rule == BreakRule::Reply && pos > 0 && (wide || previousWide) && column <= room &&
                 MayBreakBetween(previousLast, cluster.first)) {
        fit.breakAt = pos;
      }
      if (column + cluster.width > room) return fit;
      column += cluster.width;
      previousWide = wide;
      previousLast = cluster.last;
      pos = cluster.end;
    }
    fit.fits = true;
    fit.breakAt = 0;
    return fit;
  }

  long long Width(const char* text, std::size_t length) const override {
    long long width = 0;
    for (std::size_t pos = 0; pos < length;) {
      const Cluster cluster = ClusterAt(text, length, pos);
      width += cluster.width;
      pos = cluster.end;
    }
    return width;
  }

  bool StartsWide(const char* text, std::size_t length) const override {
    return length > 0 && ClusterAt(text, length, 0).width == 2;
  }

  bool EndsWide(const char* text, std::size_t length) const override {
    if (length == 0) return false;
    std::size_t start = length - 1;
    while (start > 0 && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80 && length - start < 4) --start;
    const CodePoint cp = DecodeAt(text, length, start);
    return cp.value >= 0 && start + cp.length == length && utf8proc_charwidth(cp.value) == 2;
  }

  bool IsUnicode() const override { return true; }
};

}  // namespace

const TextMeasure& Utf8Measure() {
  static const Utf8 measure;
  return measure;
}
