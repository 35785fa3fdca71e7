// format=flowed: reading soft line breaks and writing them, and the one
// FlowedSteps that reaches the writing.
#include "engine/mail/Flowed.h"

#include <cstddef>
#include <vector>

#include "engine/ReplyFormatter.h"
#include "engine/mail/Blocks.h"

namespace {

struct FlowedLine {
  std::size_t depth;
  std::string text;
  bool soft;
};

FlowedLine ReadFlowedLine(const std::string& body, std::size_t begin, std::size_t end, bool delSp) {
  FlowedLine line{0, std::string(), false};
  std::size_t pos = begin;
  while (pos < end && body[pos] == '>') ++pos;
  line.depth = pos - begin;
  if (pos < end && body[pos] == ' ') ++pos;  // space-stuffing
  line.text.assign(body, pos, end - pos);
  line.soft = !line.text.empty() && line.text.back() == ' ' && line.text != "-- ";
  if (line.soft && delSp) line.text.pop_back();
  return line;
}

bool NeedsStuffing(const char* text, std::size_t length) {
  if (length == 0) return false;
  if (text[0] == ' ' || text[0] == '>') return true;
  return length >= 5 && std::string(text, 5) == "From ";
}

}  // namespace

std::string DecodeFlowed(const std::string& body, bool delSp) {
  std::string out;
  out.reserve(body.size() + body.size() / 16);
  std::string paragraph;
  std::size_t depth = 0;
  bool open = false;  // a paragraph has begun and waits for its hard break
  bool any = false;
  auto emit = [&]() {
    if (any) out += '\n';
    any = true;
    out.append(depth, '>');
    if (depth > 0 || (!paragraph.empty() && (paragraph[0] == ' ' || paragraph[0] == '>'))) out += ' ';
    out += paragraph;
    paragraph.clear();
    open = false;
  };
  std::size_t pos = 0;
  for (;;) {
    const std::size_t lf = body.find('\n', pos);
    std::size_t end = lf == std::string::npos ? body.size() : lf;
    if (lf != std::string::npos && end > pos && body[end - 1] == '\r') --end;
    const FlowedLine line = ReadFlowedLine(body, pos, end, delSp);
    if (open && line.depth != depth) emit();  // a soft break before a change of depth is hard
    if (!open) depth = line.depth;
    paragraph += line.text;
    open = true;
    if (!line.soft) emit();
    if (lf == std::string::npos) break;
    pos = lf + 1;
  }
  if (open) emit();
  return out;
}

void ReplyFormatter::RenderFlowed(std::string& body) const {
  std::string& out = body;
  out.clear();
  std::size_t total = 0;
  for (const std::string& line : lines) total += line.size() + 8;
  if (out.capacity() < total) out.reserve(total);
  // A soft break is the blank a line ends with; with DelSp=yes the reader
  // deletes one blank there, so one more is written.
  const long long softExtra = form_.delSp ? 1 : 0;
  std::vector<LineBlock> blocks;
  ClassifyLines(lines, depths, blocks);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) out += '\n';
    const int32_t depth = i < depths.size() ? depths[i] : 0;
    const std::string& text = lines[i];
    std::string prefix(depth > 0 ? static_cast<std::size_t>(depth) : 0, '>');
    if (text.empty()) {  // no blank after the quote marks: it would read as a soft break
      out += prefix;
      continue;
    }
    if (depth > 0) prefix += ' ';
    // The own signature separator keeps its blank (lines arrive trimmed, so
    // an unquoted "--" is taken for it); any other hard line ends without
    // one, or a reader would join it with the next line.  A quoted "--" is
    // the sender's text and stays as it is: a blank would change it.
    if (depth <= 0 && (text == "--" || text == "-- ")) {
      out += prefix;
      out += "-- ";
      continue;
    }
    // A line with a structure of its own is never broken: a soft break in
    // it would let the reader join it with its neighbours.
    if (blocks[i].kind == LineKind::kKept) {
      out += prefix;
      if (depth <= 0 && NeedsStuffing(text.data(), text.size())) out += ' ';
      out += text;
      continue;
    }
    std::size_t pos = 0;
    for (;;) {
      const char* rest = text.data() + pos;
      std::size_t length = text.size() - pos;
      const bool stuff = depth <= 0 && NeedsStuffing(rest, length);
      const long long room = wrapColumn - static_cast<long long>(prefix.size()) - (stuff ? 1 : 0) - softExtra;
      const LineFit fit = measure_.Fit(rest, length, room, BreakRule::kFlowed);
      std::size_t p = fit.breakAt;
      if (!fit.fits && p == 0) {
        // A word longer than the line: it stays whole, and the line is
        // broken at the first blank after it.
        const std::size_t blank = text.find(' ', pos + 1);
        if (blank != std::string::npos) p = blank + 1 - pos;
      }
      out += prefix;
      if (stuff) out += ' ';
      if (fit.fits || p == 0 || p >= length) {
        while (length > 0 && rest[length - 1] == ' ') --length;
        out.append(rest, length);
        break;
      }
      out.append(rest, p);
      if (softExtra != 0) out += ' ';
      out += '\n';
      pos += p;
    }
  }
}

class FlowedRendering final : public FlowedSteps {
public:
  QuotePrefix ReadQuotePrefix(const std::string& line, int32_t baseDepth) const override {
    // The form DecodeFlowed writes: the quote marks, then one blank.
    QuotePrefix prefix{baseDepth, 0};
    while (prefix.length < line.size() && line[prefix.length] == '>') ++prefix.length;
    prefix.depth += static_cast<int32_t>(prefix.length);
    if (prefix.length < line.size() && line[prefix.length] == ' ') ++prefix.length;
    return prefix;
  }
  void UnstuffOwnLine(std::string& line) const override {
    // Own text came space-stuffed where it begins with a blank or '>'.
    if (!line.empty() && line[0] == ' ') line.erase(0, 1);
  }
  void Render(const ReplyFormatter& formatter, std::string& body) const override { formatter.RenderFlowed(body); }
};

const FlowedSteps& FlowedTextSteps() {
  static const FlowedRendering rendering;
  return rendering;
}
