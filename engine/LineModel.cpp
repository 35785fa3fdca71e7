// Line model: cutting a body into lines and reading quote prefixes.
#include "base/TextChars.h"
#include "engine/ReplyFormatter.h"

void ReplyFormatter::SplitLines(const std::string& body) {
  lines.clear();
  depths.clear();
  std::size_t count = 1;
  for (std::size_t at = body.find('\n'); at != std::string::npos; at = body.find('\n', at + 1)) ++count;
  lines.reserve(count);
  std::size_t pos = 0;
  for (;;) {
    const std::size_t lf = body.find('\n', pos);
    std::size_t end = lf == std::string::npos ? body.size() : lf;
    // A carriage return before the line feed belongs to the line end; a lone
    // line feed ends the line just as well.
    if (lf != std::string::npos && end > pos && body[end - 1] == '\r') --end;
    while (end > pos && IsAsciiSpace(body[end - 1])) --end;
    lines.emplace_back(body, pos, end - pos);
    if (lf == std::string::npos) break;
    pos = lf + 1;
  }
  quoted.assign(lines.size(), 1);
}

bool ReplyFormatter::IsQuoteChar(unsigned char c) {
  return c == '>' || c == '|' || c == ':';
}

bool ReplyFormatter::IsWordChar(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || (c >= 0x61 && c <= 0x7F);
}

QuotePrefix ReplyFormatter::ScanQuotePrefix(const std::string& line, int32_t base) {
  return ScanQuotePrefix(line.data(), line.size(), base);
}

QuotePrefix ReplyFormatter::ScanQuotePrefix(const char* line, std::size_t length, int32_t base) {
  int32_t depth = base;
  bool afterQuote = false;
  std::size_t pos = 0;
  while (pos < length) {
    const unsigned char c = static_cast<unsigned char>(line[pos]);
    if (IsQuoteChar(c)) {
      afterQuote = true;
      ++depth;
      ++pos;
    } else if (c == ' ') {
      if (!afterQuote) break;
      afterQuote = false;
      ++pos;
    } else {
      // A colon followed by something that is not a word character starts an
      // emoticon such as ":-)", not a quote level.
      if (depth != 0 && pos != 0 && line[pos - 1] == ':' && !IsWordChar(c)) {
        --depth;
        --pos;
      }
      break;
    }
  }
  return QuotePrefix{depth, pos};
}

QuotePrefix ReplyFormatter::ScanMailQuotePrefix(const char* line, std::size_t length, int32_t base) {
  int32_t depth = base;
  bool afterQuote = false;
  std::size_t pos = 0;
  for (; pos < length; ++pos) {
    if (line[pos] == '>') {
      afterQuote = true;
      ++depth;
    } else if (line[pos] == ' ' && afterQuote) {
      afterQuote = false;
    } else {
      break;
    }
  }
  return QuotePrefix{depth, pos};
}

bool ReplyFormatter::IsQuoteMark(unsigned char c) const {
  return form_.mailDraft || form_.flowed ? c == '>' : IsQuoteChar(c);
}

bool ReplyFormatter::IsEmptyQuoteLine(const std::string& line) const {
  for (const char c : line)
    if (c != ' ' && c != '\r' && !IsQuoteMark(static_cast<unsigned char>(c))) return false;
  return true;
}

void ReplyFormatter::MeasureQuoteDepth() {
  depths.clear();
  depths.reserve(lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i >= quoted.size() || quoted[i] == 0) {
      depths.push_back(0);
      if (form_.flowed) form_.flowed->UnstuffOwnLine(lines[i]);
      continue;
    }
    const QuotePrefix prefix = form_.flowed      ? form_.flowed->ReadQuotePrefix(lines[i], baseDepth)
                               : form_.mailDraft ? ScanMailQuotePrefix(lines[i].data(), lines[i].size(), baseDepth)
                                                 : ScanQuotePrefix(lines[i], baseDepth);
    depths.push_back(prefix.depth);
    lines[i].erase(0, prefix.length);
  }
}

bool ReplyFormatter::IsQuoteOnlyLine(const std::string& line) {
  for (const char c : line)
    if (c != ' ' && c != '>' && c != ':' && c != '|') return false;
  return true;
}

bool ReplyFormatter::IsBlankLine(const std::string& line) {
  for (const char c : line)
    if (c != ' ' && c != '>' && c != ':' && c != '|' && c != '\r') return false;
  return true;
}
