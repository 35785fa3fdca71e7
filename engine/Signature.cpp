// Signatures: the own part above the header, the quoted sender's signature,
// and moving the own part below the quote.
#include <algorithm>

#include "engine/ReplyFormatter.h"

// The byte 0x81 stands in for the blank only in the Windows client's
// single-byte text; in Unicode, flowed text or a mail draft it would be a
// stray byte, so the separator keeps its blank there.
std::string ReplyFormatter::OwnSeparator() const {
  const bool singleByte = !measure_.IsUnicode() && !form_.flowed && !form_.mailDraft;
  return settings_.isoSignatureFix != 0 && singleByte ? std::string("--\x81") : std::string("-- ");
}

void ReplyFormatter::MarkOwnPart(int headerEnd) {
  const long long last = std::min<long long>(headerEnd, static_cast<long long>(lines.size()) - 1);
  for (long long j = 0; j <= last; ++j) {
    const std::size_t i = static_cast<std::size_t>(j);
    // The own separator "-- " lost its blank when the lines were trimmed.
    if (lines[i] == "--") lines[i] = OwnSeparator();
    quoted[i] = 0;
  }
}

void ReplyFormatter::StripQuotedSignature(int headerEnd) {
  const std::string separator = baseDepth == 0 ? std::string(1, settings_.quoteChar) + " --" : std::string("--");
  const long long first = static_cast<long long>(headerEnd) + 1;
  long long e = -1;
  for (long long j = static_cast<long long>(lines.size()) - 1; j >= first && j >= 0; --j) {
    if (lines[static_cast<std::size_t>(j)] == separator) {
      e = j;
      break;
    }
  }
  if (e < 0) return;
  std::size_t m = static_cast<std::size_t>(e) + 1;
  while (m < lines.size()) {
    if (ScanQuotePrefix(lines[m], baseDepth).depth != 1) break;
    if (IsQuoteOnlyLine(lines[m])) {
      // In a draft own text may follow the quote; the empty line that keeps
      // it apart is the user's, not part of the signature.
      while (m < lines.size() && IsQuoteOnlyLine(lines[m]) && !(form_.mailDraft && lines[m].empty())) ++m;
      break;
    }
    ++m;
  }
  RemoveLines(static_cast<std::size_t>(e), m - static_cast<std::size_t>(e));
}

void ReplyFormatter::MoveOwnPartToBottom(int ownEnd, int& cursorLines) {
  // A single line above the header is the client's typing line; in a draft
  // it is text the user typed and goes along.
  if (ownEnd == 0 && !form_.mailDraft) return;
  int trimmed = 0;
  if (ownEnd >= 0) {
    // Own lines may have been trimmed away at the end of a body with nothing
    // quoted; never move more lines than there are.
    const std::size_t count = std::min<std::size_t>(static_cast<std::size_t>(ownEnd) + 1, lines.size());
    std::rotate(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(count), lines.end());
    std::rotate(quoted.begin(), quoted.begin() + static_cast<std::ptrdiff_t>(count), quoted.end());
    std::fill(quoted.end() - static_cast<std::ptrdiff_t>(count), quoted.end(), 0);
    if (form_.mailDraft) trimmed = form_.mailDraft->SettleOwnPartBelowQuote(*this, lines.size() - count);
  }
  if (settings_.cursorAtTop == 0) cursorLines = ownEnd - trimmed;
}

bool ApplySignatureFix(std::string& body) {
  std::string out;
  out.reserve(body.size() + 16);
  bool replaced = false;
  std::size_t pos = 0;
  const std::size_t n = body.size();
  while (pos < n) {
    const char c = body[pos];
    out += c;
    ++pos;
    if (c != '\n') continue;
    // A separator line sits between two line ends: "--" or "-- ", then CR or
    // a lone LF.  A separator with text behind its blank is left alone.
    if (pos + 2 < n && body[pos] == '-' && body[pos + 1] == '-') {
      std::size_t after = pos + 2;
      if (body[after] == ' ') ++after;
      if (after < n && (body[after] == '\r' || body[after] == '\n')) {
        out += "--\x81";
        pos = after;
        replaced = true;
      }
    }
  }
  body.swap(out);
  return replaced;
}
