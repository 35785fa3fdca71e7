// utf8proc gives the widths and the grapheme cluster boundaries, libunibreak
// the line-breaking classes (UAX #14) of wide characters.  ASCII takes a
// fast path that gives exactly what the bytes measure gives.
#include "engine/unicode/Utf8Measure.h"

#include <linebreak.h>
#include <utf8proc.h>

#include <atomic>
#include <cstdint>
#include <cstring>

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

// Width and cluster behaviour of every code point of the Basic Multilingual
// Plane, read from utf8proc once: the engine asks for them per character.
enum : unsigned char {
  kWidthMask = 3,
  kStandsAlone = 4,  // a plain character: ends its cluster unless a mark follows
  kJoins = 8,        // a mark, joiner or spacing mark: continues a cluster
};

class BmpTable {
public:
  BmpTable() {
    for (int32_t cp = 0; cp < 0x10000; ++cp) {
      const utf8proc_property_t* p = utf8proc_get_property(cp);
      int info = cp < 0x80 ? 1 : utf8proc_charwidth(cp) & kWidthMask;
      if (p->boundclass == UTF8PROC_BOUNDCLASS_OTHER) info |= kStandsAlone;
      if (p->boundclass == UTF8PROC_BOUNDCLASS_EXTEND || p->boundclass == UTF8PROC_BOUNDCLASS_ZWJ ||
          p->boundclass == UTF8PROC_BOUNDCLASS_SPACINGMARK)
        info |= kJoins;
      info_[cp] = static_cast<unsigned char>(info);
    }
  }
  unsigned char operator[](int32_t cp) const { return info_[cp]; }

private:
  unsigned char info_[0x10000];
};

// Set once, by the measure's constructor, before anything reads it.
const BmpTable* bmpTable = nullptr;

const BmpTable& Bmp() {
  return *bmpTable;
}

// A well-formed two- or three-byte sequence at text[pos], decoded without the
// checks utf8proc_iterate makes for the rare cases; -1 otherwise.
inline int32_t DecodeBmp(const unsigned char* s, std::size_t length, std::size_t pos, std::size_t& n) {
  const unsigned char c = s[pos];
  if (c >= 0xC2 && c <= 0xDF && pos + 1 < length && (s[pos + 1] & 0xC0) == 0x80) {
    n = 2;
    return ((c & 0x1F) << 6) | (s[pos + 1] & 0x3F);
  }
  if (c >= 0xE0 && c <= 0xEF && pos + 2 < length && (s[pos + 1] & 0xC0) == 0x80 && (s[pos + 2] & 0xC0) == 0x80) {
    const int32_t cp = ((c & 0x0F) << 12) | ((s[pos + 1] & 0x3F) << 6) | (s[pos + 2] & 0x3F);
    if (cp >= 0x800 && (cp < 0xD800 || cp > 0xDFFF)) {
      n = 3;
      return cp;
    }
  }
  return -1;
}

// Whether a code point of this boundary class, followed by one of `next`,
// always ends a cluster: a plain character ends one unless a mark, a joiner
// or a spacing mark follows.  Anything else takes the full rules.
bool EndsClusterBefore(const utf8proc_property_t* current, int32_t next) {
  if (current->boundclass != UTF8PROC_BOUNDCLASS_OTHER) return false;
  if (next < 0x80) return true;
  const int nextClass = utf8proc_get_property(next)->boundclass;
  return nextClass != UTF8PROC_BOUNDCLASS_EXTEND && nextClass != UTF8PROC_BOUNDCLASS_ZWJ &&
         nextClass != UTF8PROC_BOUNDCLASS_SPACINGMARK;
}

// One character as the scanning loops see it: an ASCII byte, or a
// well-formed character of the BMP with its table entry; value -1 for anything
// else (ill-formed bytes, characters beyond the BMP), which takes the full
// rules.
struct Character {
  int32_t value = -1;
  std::size_t length = 1;
  unsigned char info = 0;
};

inline Character CharacterAt(const unsigned char* s, std::size_t length, std::size_t pos) {
  const unsigned char c = s[pos];
  // Every ASCII character counts one column and ends its cluster unless a
  // mark follows, control characters included, as in the bytes measure.
  if (c < 0x80) return Character{c, 1, 1 | kStandsAlone};
  Character character;
  character.value = DecodeBmp(s, length, pos, character.length);
  if (character.value >= 0) character.info = Bmp()[character.value];
  return character;
}

// Whether `current`, followed by `next` (value -1 and info 0 at the end of
// the text), is a cluster of its own: a character that ends its cluster, and
// nothing after it that joins it.  The common case, settled from the table.
inline bool StandsAlone(const Character& current, const Character& next, bool atEnd) {
  return current.value >= 0 && (current.info & kStandsAlone) != 0 &&
         (atEnd || (next.value >= 0 && (next.info & kJoins) == 0));
}

// The cluster at `pos` by utf8proc's rules, for what StandsAlone does not settle.
Cluster FullClusterAt(const char* text, std::size_t length, std::size_t pos) {
  CodePoint cp = DecodeAt(text, length, pos);
  Cluster cluster{pos + cp.length, CodePointWidth(cp.value), cp.value, cp.value};
  if (cp.value < 0 || cluster.end == length) return cluster;
  // Most characters stand alone: settle that from the properties of this
  // character and the next before running the full rules.
  if (cp.value >= 0x80) {
    const auto next = static_cast<unsigned char>(text[cluster.end]);
    const CodePoint following = next < 0x80 ? CodePoint{next, 1} : DecodeAt(text, length, cluster.end);
    if (following.value < 0 || EndsClusterBefore(utf8proc_get_property(cp.value), following.value)) return cluster;
  }
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

Cluster ClusterAt(const char* text, std::size_t length, std::size_t pos) {
  const auto* s = reinterpret_cast<const unsigned char*>(text);
  const Character current = CharacterAt(s, length, pos);
  const std::size_t end = pos + current.length;
  const bool atEnd = end >= length;
  const Character next = atEnd ? Character{} : CharacterAt(s, length, end);
  if (StandsAlone(current, next, atEnd)) return Cluster{end, current.info & kWidthMask, current.value, current.value};
  return FullClusterAt(text, length, pos);
}

// The first byte at or after `pos`, before `limit`, that is not ASCII; or
// `limit`.  Eight bytes at a time where the byte order lets the lowest set
// bit name the first such byte: most mail is mostly ASCII.  The word read may
// reach past `limit`, never past `length`.
inline std::size_t AsciiRunEnd(const unsigned char* s, std::size_t pos, std::size_t limit, std::size_t length) {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
  while (pos < limit && length - pos >= 8) {
    uint64_t word = 0;
    std::memcpy(&word, s + pos, 8);
    const uint64_t high = word & 0x8080808080808080ULL;
    if (high != 0) {
      pos += static_cast<std::size_t>(__builtin_ctzll(high)) / 8;
      return pos < limit ? pos : limit;
    }
    pos += 8;
  }
  if (pos >= limit) return limit;
#else
  (void)length;
#endif
  while (pos < limit && s[pos] < 0x80) ++pos;
  return pos;
}

// Whether a line may end between two characters, one of them wide.
// libunibreak answers for a pair by running its whole algorithm over it, too
// slow to ask for every pair of a Chinese text; so each character of the BMP
// is asked once, against an ideograph on either side, and the answers are
// kept: a break is allowed unless one of the two forbids it.  Between
// ideographs, kana and the punctuation around them that is exactly the rule.
class BreakMemo {
public:
  bool MayBreak(int32_t before, int32_t after) {
    if (before < 0 || after < 0) return false;
    if (before >= 0x10000 || after >= 0x10000)
      return is_line_breakable(static_cast<utf32_t>(before), static_cast<utf32_t>(after), nullptr) ==
             LINEBREAK_ALLOWBREAK;
    return (Flags(before) & kNoBreakAfter) == 0 && (Flags(after) & kNoBreakBefore) == 0;
  }

private:
  enum : unsigned char { kKnown = 1, kNoBreakBefore = 2, kNoBreakAfter = 4 };
  static constexpr utf32_t kIdeograph = 0x6C34;

  unsigned char Flags(int32_t cp) {
    unsigned char flags = flags_[cp].load(std::memory_order_relaxed);
    if (flags != 0) return flags;
    const auto c = static_cast<utf32_t>(cp);
    flags = kKnown;
    if (is_line_breakable(kIdeograph, c, nullptr) != LINEBREAK_ALLOWBREAK) flags |= kNoBreakBefore;
    if (is_line_breakable(c, kIdeograph, nullptr) != LINEBREAK_ALLOWBREAK) flags |= kNoBreakAfter;
    flags_[cp].store(flags, std::memory_order_relaxed);
    return flags;
  }

  std::atomic<unsigned char> flags_[0x10000] = {};
};

BreakMemo* breakMemo = nullptr;

bool MayBreakBetween(int32_t before, int32_t after) {
  return breakMemo->MayBreak(before, after);
}

class Utf8 final : public TextMeasure {
public:
  Utf8() {
    init_linebreak();
    bmpTable = &bmp_;
    breakMemo = &breaks_;
  }

  LineFit Fit(const char* text, std::size_t length, long long room, BreakRule rule) const override {
    LineFit fit;
    // No character takes more columns than it has bytes.
    if (static_cast<long long>(length) <= room) {
      fit.fits = true;
      return fit;
    }
    if (room < 0 && length > 0) return fit;  // not even a character of no columns
    if (FitPlainText(reinterpret_cast<const unsigned char*>(text), length, room, rule, fit)) return fit;
    return FitClusters(text, length, room, rule);
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
    return length > 0 && static_cast<unsigned char>(text[0]) >= 0x80 && ClusterAt(text, length, 0).width == 2;
  }

  bool EndsWide(const char* text, std::size_t length) const override {
    if (length == 0 || static_cast<unsigned char>(text[length - 1]) < 0x80) return false;
    std::size_t start = length - 1;
    while (start > 0 && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80 && length - start < 4) --start;
    const CodePoint cp = DecodeAt(text, length, start);
    return cp.value >= 0 && start + cp.length == length && utf8proc_charwidth(cp.value) == 2;
  }

  bool IsUnicode() const override { return true; }

private:
  // Fit for text whose characters up to the end of the line, and the one
  // after, are each a cluster of their own (ASCII, and characters of the BMP
  // that no mark joins): the text of nearly every mail.  A forward scan counts
  // the columns, ASCII eight bytes at a time, and notes only the breaks
  // between wide characters; the last blank or hyphen is then found looking
  // back from the end of the line, as in bytes.  False, with `fit` untouched,
  // when a character needs the full rules.
  static bool FitPlainText(const unsigned char* s, std::size_t length, long long room, BreakRule rule, LineFit& fit) {
    // Both rules of replies drop the blank and break between wide characters.
    const bool reply = rule != BreakRule::kFlowed;
    const bool hyphens = rule == BreakRule::kReply;
    const bool mail = rule == BreakRule::kMail;
    long long column = 0;
    std::size_t pos = 0;
    bool previousWide = false;
    int32_t previousLast = -1;
    std::size_t wideBreak = 0;  // the last break between wide characters
    std::size_t cut = 0;        // the first character that does not fit
    for (;;) {
      if (pos == length) {
        fit.fits = true;
        return true;
      }
      if (s[pos] < 0x80 && !previousWide) {
        const auto roomLeft = static_cast<std::size_t>(room - column);
        const std::size_t limit = length - pos > roomLeft ? pos + roomLeft + 1 : length;
        const std::size_t end = AsciiRunEnd(s, pos, limit, length);
        if (end - pos > roomLeft) {
          cut = pos + roomLeft;
          break;
        }
        column += static_cast<long long>(end - pos);
        pos = end;
        previousLast = s[pos - 1];
        continue;
      }
      const Character character = CharacterAt(s, length, pos);
      if (character.value < 0 || (character.info & kStandsAlone) == 0) return false;
      const int width = character.info & kWidthMask;
      const bool wide = width == 2;
      if (reply && pos > 0 && (wide || previousWide) && MayBreakBetween(previousLast, character.value)) wideBreak = pos;
      if (column + width > room) {
        cut = pos;
        break;
      }
      column += width;
      previousWide = wide;
      previousLast = character.value;
      pos += character.length;
    }
    // The character that does not fit is a cluster of its own only when the
    // next one does not join it.
    const std::size_t afterCut = cut + CharacterAt(s, length, cut).length;
    if (afterCut < length && s[afterCut] >= 0x80) {
      const Character next = CharacterAt(s, length, afterCut);
      if (next.value < 0 || (next.info & kStandsAlone) == 0) return false;
    }
    std::size_t breakAt = 0;
    // j + 1 is at most `cut`, which lies inside the text.
    for (std::size_t j = cut; j-- > wideBreak;) {
      if (s[j] == ' ') {
        if (mail && s[j + 1] == '>') continue;
        breakAt = reply ? j : j + 1;
        break;
      }
      if (s[j] == '-' && hyphens && j > 0 && IsHyphenLetter(static_cast<char>(s[j - 1])) &&
          IsHyphenLetter(static_cast<char>(s[j + 1]))) {
        breakAt = j + 1;
        break;
      }
    }
    fit.breakAt = breakAt > wideBreak ? breakAt : wideBreak;
    return true;
  }

  // Fit cluster by cluster, for any text.
  static LineFit FitClusters(const char* text, std::size_t length, long long room, BreakRule rule) {
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
      const bool beforeQuote = pos + 1 < length && text[pos + 1] == '>';
      if (single && text[pos] == ' ' && column < room) {
        if (rule != BreakRule::kMail || !beforeQuote) fit.breakAt = rule == BreakRule::kFlowed ? pos + 1 : pos;
      } else if (single && text[pos] == '-' && column < room && rule == BreakRule::kReply && pos > 0 &&
                 pos + 1 < length && IsHyphenLetter(text[pos - 1]) && IsHyphenLetter(text[pos + 1])) {
        fit.breakAt = pos + 1;
      } else if (rule != BreakRule::kFlowed && pos > 0 && (wide || previousWide) && column <= room &&
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

  BmpTable bmp_;
  mutable BreakMemo breaks_;
};

}  // namespace

const TextMeasure& Utf8Measure() {
  static const Utf8 measure;
  return measure;
}
