// Today's mail as blocks: recognising the lines that keep their shape, list
// items and prose, and rendering them; the one BlockSteps that reaches them.
#include "engine/mail/Blocks.h"

#include <cstring>

#include "engine/ReplyFormatter.h"
#include "engine/WrapBuffer.h"

namespace {

template <std::size_t N>
bool StartsWith(const std::string& text, const char (&start)[N]) {
  return text.size() >= N - 1 && std::memcmp(text.data(), start, N - 1) == 0;
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool IsAsciiLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsHexDigit(char c) {
  return IsDigit(c) || (c >= 'a' && c <= 'f');
}

// Reads a decimal number at text[pos]; the value stops growing at a billion,
// far beyond any hunk.
bool ReadNumber(const std::string& text, std::size_t& pos, long long& value) {
  if (pos >= text.size() || !IsDigit(text[pos])) return false;
  value = 0;
  for (; pos < text.size() && IsDigit(text[pos]); ++pos)
    if (value < 1000000000) value = value * 10 + (text[pos] - '0');
  return true;
}

// "@@ -a[,b] +c[,d] @@" and whatever follows (the function the hunk is in).
// The counts are b and d, 1 when left out.
bool ParseHunkHeader(const std::string& text, long long& oldCount, long long& newCount) {
  if (!StartsWith(text, "@@ -")) return false;
  std::size_t pos = 4;
  long long start = 0;
  oldCount = newCount = 1;
  if (!ReadNumber(text, pos, start)) return false;
  if (pos < text.size() && text[pos] == ',' && !ReadNumber(text, ++pos, oldCount)) return false;
  if (text.compare(pos, 2, " +") != 0) return false;
  pos += 2;
  if (!ReadNumber(text, pos, start)) return false;
  if (pos < text.size() && text[pos] == ',' && !ReadNumber(text, ++pos, newCount)) return false;
  return text.compare(pos, 3, " @@") == 0;
}

// The lines between "diff" and the first hunk that git writes.
bool IsPatchHeaderLine(const std::string& text) {
  static const char* const kStarts[] = {
      "new file mode ", "deleted file mode ", "old mode ",  "new mode ", "similarity index ", "dissimilarity index ",
      "rename from ",   "rename to ",         "copy from ", "copy to ",  "Binary files ",     "GIT binary patch"};
  for (const char* start : kStarts)
    if (text.compare(0, std::strlen(start), start) == 0) return true;
  return false;
}

// "index 1a2b3c4..5d6e7f8" with or without a mode behind it.
bool IsIndexLine(const std::string& text) {
  if (!StartsWith(text, "index ")) return false;
  std::size_t pos = 6;
  const std::size_t first = pos;
  while (pos < text.size() && IsHexDigit(text[pos])) ++pos;
  if (pos - first < 4 || text.compare(pos, 2, "..") != 0) return false;
  pos += 2;
  const std::size_t second = pos;
  while (pos < text.size() && IsHexDigit(text[pos])) ++pos;
  return pos - second >= 4 && (pos == text.size() || text[pos] == ' ');
}

// A diffstat row (" path | 19 +++--", " path | Bin 0 -> 12 bytes") or its
// summary (" 3 files changed, 10 insertions(+), 2 deletions(-)").  The path
// is one token, or two around the " => " of a rename; prose is turned away
// at its first blank.
bool IsDiffstatLine(const std::string& text) {
  const std::size_t size = text.size();
  std::size_t pos = 0;
  while (pos < size && text[pos] == ' ') ++pos;
  long long count = 0;
  std::size_t after = pos;
  if (ReadNumber(text, after, count) &&
      (text.compare(after, 14, " file changed,") == 0 || text.compare(after, 15, " files changed,") == 0 ||
       text.compare(after, std::string::npos, " file changed") == 0 ||
       text.compare(after, std::string::npos, " files changed") == 0))
    return true;
  auto token = [&text, size](std::size_t at) {
    while (at < size && text[at] != ' ' && text[at] != '|') ++at;
    return at;
  };
  auto blanks = [&text, size](std::size_t at) {
    while (at < size && text[at] == ' ') ++at;
    return at;
  };
  std::size_t at = token(pos);
  if (at == pos) return false;
  at = blanks(at);
  if (text.compare(at, 3, "=> ") == 0) {
    const std::size_t second = blanks(at + 3);
    at = token(second);
    if (at == second) return false;
    at = blanks(at);
  }
  if (at >= size || text[at] != '|') return false;
  at = blanks(at + 1);
  if (text.compare(at, 4, "Bin ") == 0 || text.compare(at, std::string::npos, "Bin") == 0) return true;
  if (!ReadNumber(text, at, count)) return false;
  if (at == size) return true;
  if (text[at] != ' ' || at + 1 == size) return false;
  for (++at; at < size; ++at)
    if (text[at] != '+' && text[at] != '-') return false;
  return true;
}

// "Signed-off-by: A B <a-b@example.org>" and the other trailers of patch
// mail: any key ending in "-by", and Cc, Fixes, Link.
bool IsTrailer(const std::string& text) {
  if (text.empty() || text[0] < 'A' || text[0] > 'Z') return false;
  std::size_t colon = 1;
  while (colon < text.size() && (IsAsciiLetter(text[colon]) || text[colon] == '-')) ++colon;
  if (colon + 1 >= text.size() || text[colon] != ':' || text[colon + 1] != ' ') return false;
  const char* key = text.data();
  auto is = [key, colon](const char* name) { return std::strlen(name) == colon && std::memcmp(key, name, colon) == 0; };
  return (colon > 3 && std::memcmp(key + colon - 3, "-by", 3) == 0) || is("Cc") || is("Fixes") || is("Link");
}

// "| a | b |", "|---|---|" and "+-----+-----+".
bool IsTableLine(const std::string& text) {
  std::size_t pos = 0;
  while (pos < text.size() && text[pos] == ' ') ++pos;
  if (pos == text.size()) return false;
  if (text[pos] == '|') return text.find('|', pos + 1) != std::string::npos;
  if (text[pos] != '+' || text.back() != '+' || text.size() - pos < 3) return false;
  bool rule = false;
  for (std::size_t i = pos; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '-' || c == '=') {
      rule = true;
    } else if (c != '+' && c != ':' && c != ' ') {
      return false;
    }
  }
  return rule;
}

// A line of nothing but dashes ("--" the signature separator, "---" the cut
// above a patch's diffstat), equals signs or underscores, and the own
// signature separator.
bool IsRuleLine(const std::string& text) {
  if (text == "-- ") return true;
  const char c = text.empty() ? '\0' : text[0];
  if (c != '-' && c != '=' && c != '_') return false;
  if (text.size() < (c == '-' ? 2u : 3u)) return false;
  return text.find_first_not_of(c) == std::string::npos;
}

// The bytes of a list item's marker and the blanks after it at text[pos]:
// "- ", "* ", "+ ", "1. ", "1) ", "a) ".  Zero when there is none.  The
// item's text follows within four blanks.
std::size_t ItemMarker(const std::string& text, std::size_t pos) {
  std::size_t end = pos;
  const char c = pos < text.size() ? text[pos] : '\0';
  if (c == '-' || c == '*' || c == '+') {
    end = pos + 1;
  } else if (IsDigit(c)) {
    while (end < text.size() && IsDigit(text[end]) && end - pos < 4) ++end;
    if (end - pos > 3 || end >= text.size() || (text[end] != '.' && text[end] != ')')) return 0;
    ++end;
  } else if (IsAsciiLetter(c) && pos + 1 < text.size() && text[pos + 1] == ')') {
    end = pos + 2;
  } else {
    return 0;
  }
  std::size_t textAt = end;
  while (textAt < text.size() && text[textAt] == ' ') ++textAt;
  if (textAt == end || textAt == text.size() || textAt - end > 4) return 0;
  return textAt - pos;
}

// Where a quoted patch's hunk stands: it is open at one depth from its
// header until its counts are used up or a line comes that cannot be a line
// of a hunk.
struct Hunk {
  bool open = false;
  int32_t depth = 0;
  long long oldLeft = 0;
  long long newLeft = 0;

  // Whether the line (at the hunk's depth) belongs to the hunk; takes it.
  bool Take(const std::string& text) {
    const char c = text.empty() ? ' ' : text[0];
    if (oldLeft <= 0 && newLeft <= 0) return c == '\\';  // "\ No newline at end of file"
    switch (c) {
      case ' ':  // context; an empty one has lost its blank to trimming
        --oldLeft;
        --newLeft;
        return true;
      case '-':
        --oldLeft;
        return true;
      case '+':
        --newLeft;
        return true;
      case '\\':
        return true;
      default:
        return false;
    }
  }
};

}  // namespace

void ClassifyLines(const std::vector<std::string>& lines, const std::vector<int32_t>& depths,
                   std::vector<LineBlock>& blocks) {
  const std::size_t n = lines.size();
  blocks.assign(n, LineBlock{});
  auto depthAt = [&depths](std::size_t i) { return i < depths.size() ? depths[i] : 0; };
  Hunk hunk;
  bool patchHeader = false;  // after "diff -", until the first hunk
  bool fileLines = false;    // a "--- " line was kept; its "+++ " follows
  bool inItem = false;
  uint32_t itemHang = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const std::string& text = lines[i];
    const int32_t depth = depthAt(i);
    LineBlock& block = blocks[i];
    if (i > 0 && depth != depthAt(i - 1)) {
      patchHeader = fileLines = inItem = false;
    }
    if (hunk.open && hunk.depth == depth) {
      if (hunk.Take(text)) {
        block.kind = text.empty() ? LineKind::kEmpty : LineKind::kKept;
        continue;
      }
      hunk.open = false;
    }
    const bool expectPlus = fileLines;
    fileLines = false;
    if (text.empty()) {
      block.kind = LineKind::kEmpty;
      patchHeader = inItem = false;
      continue;
    }
    block.kind = LineKind::kKept;
    long long oldCount = 0;
    long long newCount = 0;
    if (ParseHunkHeader(text, oldCount, newCount)) {
      hunk = Hunk{true, depth, oldCount, newCount};
      patchHeader = inItem = false;
      continue;
    }
    if (StartsWith(text, "diff -")) {
      patchHeader = true;
      inItem = false;
      continue;
    }
    if (expectPlus && StartsWith(text, "+++ ")) continue;
    if (StartsWith(text, "--- ") && text.size() > 4 && i + 1 < n && depthAt(i + 1) == depth &&
        StartsWith(lines[i + 1], "+++ ")) {
      fileLines = true;
      inItem = false;
      continue;
    }
    if ((patchHeader && IsPatchHeaderLine(text)) || IsIndexLine(text) || IsDiffstatLine(text) || IsTrailer(text) ||
        IsTableLine(text) || IsRuleLine(text)) {
      inItem = false;
      continue;
    }
    std::size_t indent = 0;
    while (indent < text.size() && text[indent] == ' ') ++indent;
    const bool tab = indent < text.size() && text[indent] == '\t';
    if (!tab && (indent <= 3 || (inItem && indent <= itemHang + 3))) {
      if (const std::size_t marker = ItemMarker(text, indent)) {
        block.kind = LineKind::kItem;
        block.lead = block.hang = itemHang = static_cast<uint32_t>(indent + marker);
        inItem = true;
        continue;
      }
    }
    if (inItem && !tab && indent >= 1 && indent <= (itemHang > 3 ? itemHang : 3)) {
      block.kind = LineKind::kItemMore;
      block.lead = static_cast<uint32_t>(indent);
      block.hang = itemHang;
      continue;
    }
    inItem = false;
    if (tab || indent >= 4) continue;  // code
    block.kind = LineKind::kProse;
  }
}

void ReplyFormatter::RenderBlocks(std::string& body) const {
  std::vector<LineBlock> blocks;
  ClassifyLines(lines, depths, blocks);
  WrapBuffer buffer(measure_, BreakRule::kMail);
  std::string& out = body;
  out.clear();
  std::size_t total = 0;
  for (const std::string& line : lines) total += line.size() + 4;
  if (out.capacity() < total) out.reserve(total);
  std::string quotePrefix;
  std::string prefix;  // the prefix of the lines that overflow brings
  std::string first;
  long long previousDepth = -1;
  LineKind previousKind = LineKind::kEmpty;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const long long depth = i < depths.size() ? depths[i] : 0;
    const std::string& text = lines[i];
    const LineBlock& block = blocks[i];
    if (i > 0) out += '\n';
    // A paragraph ends where the Windows client's rules end it, and before
    // every line that has a structure, every list item and the prose after
    // an item: overflow never crosses into another block.
    const bool afterItem = previousKind == LineKind::kItem || previousKind == LineKind::kItemMore;
    const bool paragraphEnded = (i > 0 && (depth != previousDepth || text.empty())) || (baseDepth == 1 && depth == 1) ||
                                block.kind == LineKind::kKept || block.kind == LineKind::kItem ||
                                (block.kind == LineKind::kProse && afterItem);
    if (paragraphEnded) {
      while (!buffer.Empty()) {
        buffer.Wrap(wrapColumn, prefix, out);
        out += '\n';
      }
    }
    if (depth != previousDepth) quotePrefix = BuildPrefix(static_cast<int32_t>(depth));
    previousDepth = depth;
    previousKind = block.kind;
    switch (block.kind) {
      case LineKind::kKept:
        out += quotePrefix;
        out += text;
        prefix = quotePrefix;
        break;
      case LineKind::kItem:
      case LineKind::kItemMore:
        // The item's own line starts with its marker; every other line of it
        // hangs below the item's text.
        prefix = quotePrefix;
        prefix.append(block.hang, ' ');
        if (block.kind == LineKind::kItem) {
          first = quotePrefix;
          first.append(text, 0, block.lead);
        } else {
          first = prefix;
        }
        buffer.Append(text.data() + block.lead, text.size() - block.lead);
        buffer.Wrap(wrapColumn, first, out);
        break;
      case LineKind::kEmpty:
      case LineKind::kProse:
        prefix = quotePrefix;
        buffer.Append(text);
        buffer.Wrap(wrapColumn, prefix, out);
        break;
    }
  }
  while (!buffer.Empty()) {
    out += '\n';
    buffer.Wrap(wrapColumn, prefix, out);
  }
}

class MailBlockRules final : public BlockSteps {
public:
  void MarkJoinable(const ReplyFormatter& formatter, std::vector<unsigned char>& marks) const override {
    std::vector<LineBlock> blocks;
    ClassifyLines(formatter.lines, formatter.depths, blocks);
    marks.assign(blocks.size(), 0);
    for (std::size_t i = 0; i < blocks.size(); ++i) {
      const LineKind kind = blocks[i].kind;
      if (kind == LineKind::kProse || kind == LineKind::kItem || kind == LineKind::kItemMore) marks[i] |= kMayExtend;
      if (kind == LineKind::kProse) marks[i] |= kMayJoin;
    }
  }
  void Render(const ReplyFormatter& formatter, std::string& body) const override { formatter.RenderBlocks(body); }
};

const BlockSteps& MailBlockSteps() {
  static const MailBlockRules rules;
  return rules;
}
