// Character classes of the plain ASCII bytes the text code skips or trims.
#pragma once

// Blank, tab, carriage return and line feed: what the language file and the
// dialogs' integer fields treat as white space around a value.
inline bool IsSpaceOrLineEnd(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The six characters isspace() knows in the "C" locale: IsSpaceOrLineEnd
// plus vertical tab and form feed.  The reply engine trims and wraps at
// these, whatever locale the process runs in.
inline bool IsAsciiSpace(char c) {
  return IsSpaceOrLineEnd(c) || c == '\v' || c == '\f';
}
