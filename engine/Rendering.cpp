// Re-wrapping, rendering and the repair of lines the client broke.
#include <utility>

#include "engine/ReplyFormatter.h"
#include "engine/WrapBuffer.h"

std::string ReplyFormatter::BuildPrefix(int32_t depth) const {
  std::string prefix;
  if (depth <= 0) return prefix;
  const bool compressed = settings_.compressedIndentation != 0;
  prefix.reserve(static_cast<std::size_t>(depth) * 2 + 1);
  for (int32_t i = 0; i < depth; ++i) {
    prefix += settings_.quoteChar;
    if (!compressed) prefix += ' ';
  }
  if (compressed) prefix += ' ';
  return prefix;
}

std::string ReplyFormatter::WrapLine(const std::string& line, const std::string& prefix) {
  WrapBuffer buffer(measure_);
  buffer.Append(line);
  std::string out;
  buffer.Wrap(wrapColumn, prefix, out);
  carry = buffer.Remaining();
  return out;
}

void ReplyFormatter::RenderReply(std::string& body) {
  carry.clear();
  if (form_.flowed) {
    form_.flowed->Render(*this, body);
    return;
  }
  if (form_.todaysMail) {
    form_.todaysMail->Render(*this, body);
    return;
  }
  WrapBuffer buffer(measure_);
  // The lines are copies, so the body's own storage can take the output; for
  // a body of megabytes that saves touching as much fresh memory again.
  std::string& out = body;
  out.clear();
  std::size_t total = 0;
  for (const std::string& line : lines) total += line.size() + 4;
  if (out.capacity() < total) out.reserve(total);
  std::string prefix;
  long long previousDepth = -1;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const long long depth = i < depths.size() ? depths[i] : 0;
    const std::string& text = lines[i];
    if (i > 0) out += '\n';
    const bool paragraphEnded = (i > 0 && (depth != previousDepth || text.empty())) || (baseDepth == 1 && depth == 1);
    if (paragraphEnded) {
      while (!buffer.Empty()) {
        buffer.Wrap(wrapColumn, prefix, out);
        out += '\n';
      }
    }
    if (depth != previousDepth) prefix = BuildPrefix(static_cast<int32_t>(depth));
    previousDepth = depth;
    buffer.Append(text);
    buffer.Wrap(wrapColumn, prefix, out);
  }
  while (!buffer.Empty()) {
    out += '\n';
    buffer.Wrap(wrapColumn, prefix, out);
  }
}

void ReplyFormatter::JoinBrokenQuotes() {
  const std::size_t n = lines.size();
  if (depths.size() != n || quoted.size() != n || n < 3) return;
  const bool compressed = settings_.compressedIndentation != 0;
  auto widthEstimate = [compressed](long long d) { return compressed ? d + 1 : 2 * d + 1; };
  auto width = [this](const std::string& text, std::size_t length) { return measure_.Width(text.data(), length); };
  // A line is the rest of a broken line only when its first word, with one
  // blank, would not have fitted on the line above; a long line of the
  // sender's own below a short quoted one stays the sender's.
  // (Blanks that lead the line count with the word: they would have had to
  // fit as well.)
  auto firstWordLength = [](const std::string& text) {
    std::size_t end = 0;
    while (end < text.size() && text[end] == ' ') ++end;
    while (end < text.size() && text[end] != ' ') ++end;
    return end;
  };
  // Today's mail never joins a line that has a structure of its own.
  std::vector<unsigned char> marks;
  if (form_.todaysMail) {
    // Until a join has happened, line w - 1 is line r - 1; so when no three
    // lines in a row have the depths of a join, nothing is ever joined and
    // the lines need no marks.
    bool candidate = false;
    for (std::size_t r = 1; r + 1 < n && !candidate; ++r) {
      const long long dPrev = depths[r - 1];
      candidate = dPrev > depths[r] &&
                  (depths[r + 1] == dPrev || (lines[r + 1].empty() && depths[r + 1] == 0) || depths[r + 1] > depths[r]);
    }
    if (candidate) form_.todaysMail->MarkJoinable(*this, marks);
  }
  auto may = [&marks](std::size_t k, unsigned char what) { return marks.empty() || (marks[k] & what) != 0; };
  // Today's mail is often sent unwrapped: a line wider than any client's
  // column was never broken, so what follows it is not its rest.
  constexpr long long kWidestBrokenLine = 80;
  auto mayBeBroken = [&](std::size_t k, long long depth) {
    return !form_.todaysMail || width(lines[k], lines[k].size()) + widthEstimate(depth) <= kWidestBrokenLine;
  };

  // The list is compacted as it is walked: lines [0, w) are final and line
  // w - 1 is the one a join extends; lines [r, n) are still to be looked at.
  // Removing a line is then just not copying it down, so the walk is linear.
  std::size_t w = 1;
  std::size_t r = 1;
  while (r + 1 < n) {  // i (= w) is less than the current count minus 1
    const long long dPrev = depths[w - 1];
    if (dPrev > depths[r] &&
        (depths[r + 1] == dPrev || (lines[r + 1].empty() && depths[r + 1] == 0 && depths[r] != 0)) &&
        may(w - 1, BlockSteps::kMayExtend) && may(r, BlockSteps::kMayJoin) && mayBeBroken(w - 1, dPrev) &&
        width(lines[w - 1], lines[w - 1].size()) + 1 + width(lines[r], firstWordLength(lines[r])) +
                widthEstimate(dPrev) >
            70) {
      lines[w - 1] += ' ';
      lines[w - 1] += lines[r];
      ++r;
    }
    if (r + 2 < n && dPrev > depths[r] && depths[r + 1] > depths[r] && depths[r + 2] > depths[r + 1] &&
        depths[r + 2] == dPrev && may(w - 1, BlockSteps::kMayExtend) && may(r, BlockSteps::kMayJoin) &&
        may(r + 1, BlockSteps::kMayJoin)) {
      lines[w - 1] += ' ';
      lines[w - 1] += lines[r];
      lines[w - 1] += ' ';
      lines[w - 1] += lines[r + 1];
      r += 2;
    }
    if (r < n) {  // i + 1: line i becomes the line before the next i
      if (w != r) {
        lines[w] = std::move(lines[r]);
        depths[w] = depths[r];
        quoted[w] = quoted[r];
        if (!marks.empty()) marks[w] = marks[r];
      }
      ++w;
      ++r;
    }
  }
  for (; r < n; ++r, ++w) {
    if (w != r) {
      lines[w] = std::move(lines[r]);
      depths[w] = depths[r];
      quoted[w] = quoted[r];
    }
  }
  lines.resize(w);
  depths.resize(w);
  quoted.resize(w);
}
