// What the wrapper needs to know about the characters of a text: how many
// columns it takes and where a line may end.  The bytes measure is the
// Windows client's single-byte text (one byte, one character, one column);
// a measure for UTF-8 lives in engine/unicode/, outside the Windows programs.
#pragma once

#include <cstddef>

// Where a line is broken, and what happens to the blank there.
enum class BreakRule {
  kReply,   // at a blank, which is dropped, or after a hyphen between two
            // letters (and, for wide characters, between them where
            // line-breaking rules allow)
  kMail,    // today's mail: at a blank, which is dropped, unless a '>'
            // follows it (the next line would read as a deeper quote), and
            // between wide characters as kReply; never inside a token
  kFlowed,  // only after a blank, which stays at the end of the line
};

// A letter for the hyphen rule: an ASCII letter or any byte of 0x80 and above
// (a letter of the ANSI code page, or part of a UTF-8 character).  A hyphen
// between two of them joins a compound ("well-known"); anywhere else it is
// part of a token such as "->", "--", ":-)" or "-1".
inline bool IsHyphenLetter(char c) {
  const auto b = static_cast<unsigned char>(c);
  return (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || b >= 0x80;
}

// The answer to "how much of this text goes on a line of `room` columns".
struct LineFit {
  bool fits = false;        // the whole text takes at most `room` columns
  std::size_t breakAt = 0;  // otherwise the bytes that go on the line; 0 when
                            // no break opportunity lies inside the room
};

// Measures are constants that live as long as the program and are never
// deleted through this interface; a trivial destructor keeps them free of
// start-up and exit code.
class TextMeasure {
public:
  // The latest break opportunity in `text` whose line takes at most `room`
  // columns; never inside a character or a cluster of characters.
  virtual LineFit Fit(const char* text, std::size_t length, long long room, BreakRule rule) const = 0;
  // Columns the text takes.
  virtual long long Width(const char* text, std::size_t length) const = 0;
  // Whether the text begins (ends) with a wide character.  Two texts that
  // meet at wide characters (Chinese, Japanese) are joined without a blank.
  virtual bool StartsWide(const char* text, std::size_t length) const = 0;
  virtual bool EndsWide(const char* text, std::size_t length) const = 0;
  // True for a measure of Unicode text, which must never get the byte 0x81
  // of the single-byte signature fix.
  virtual bool IsUnicode() const = 0;

protected:
  ~TextMeasure() = default;
};

// One byte, one character, one column.
const TextMeasure& BytesMeasure();

// Whether the bytes are well-formed UTF-8 (no overlong forms, surrogates or
// code points above U+10FFFF).
bool IsValidUtf8(const char* text, std::size_t length);
