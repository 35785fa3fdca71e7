// Re-wrapping, rendering and the repair of lines the client broke.
#include <utility>

#include "base/TextChars.h"
#include "engine/ReplyFormatter.h"

namespace {

// The carry and the text appended behind it, kept in one buffer with a moving
// start so that a paragraph of any length is wrapped in linear time: consumed
// text is never copied again.
class WrapBuffer {
public:
  explicit WrapBuffer(const TextMeasure& measure) : measure_(measure) {}

  bool Empty() const { return start_ == buffer_.size(); }
  void Append(const std::string& text) {
    // A carry that ends in a wide character meets the next text without a
    // blank when that begins with one too (Chinese and Japanese put none
    // between words); otherwise the blank held back is put in now.
    if (blankHeld_ && !Empty() && !measure_.StartsWide(text.data(), text.size())) buffer_ += ' ';
    blankHeld_ = false;
    buffer_ += text;
  }
  std::string Remaining() const { return buffer_.substr(start_); }

  // One wrap of the buffer's text behind `prefix` into `out`; what does not
  // fit stays in the buffer as the carry.
  void Wrap(long long wrapColumn, const std::string& prefix, std::string& out) {
    const long long room = wrapColumn - static_cast<long long>(prefix.size());
    out += prefix;
    // The break goes at the last blank or just after the last hyphen that
    // fits, whichever is later.
    const LineFit fit = measure_.Fit(buffer_.data() + start_, buffer_.size() - start_, room, BreakRule::kReply);
    if (fit.fits || fit.breakAt == 0) {  // no usable break: the word stays whole, over the column
      TakeAll(out);
      return;
    }
    const std::size_t p = fit.breakAt;
    out.append(buffer_, start_, p);
    start_ += p;
    while (start_ < buffer_.size() && IsAsciiSpace(buffer_[start_])) ++start_;
    if (start_ == buffer_.size()) {
      Clear();
      return;
    }
    if (measure_.EndsWide(buffer_.data() + start_, buffer_.size() - start_)) {
      blankHeld_ = true;
    } else {
      buffer_ += ' ';  // separates the carry from the next line's text
    }
    if (start_ > 4096 && start_ > buffer_.size() / 2) {
      buffer_.erase(0, start_);
      start_ = 0;
    }
  }

private:
  void TakeAll(std::string& out) {
    out.append(buffer_, start_, std::string::npos);
    Clear();
  }
  void Clear() {
    buffer_.clear();
    start_ = 0;
    blankHeld_ = false;
  }

  const TextMeasure& measure_;
  std::string buffer_;
  std::size_t start_ = 0;
  bool blankHeld_ = false;
};

}  // namespace

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

  // The list is compacted as it is walked: lines [0, w) are final and line
  // w - 1 is the one a join extends; lines [r, n) are still to be looked at.
  // Removing a line is then just not copying it down, so the walk is linear.
  std::size_t w = 1;
  std::size_t r = 1;
  while (r + 1 < n) {  // i (= w) is less than the current count minus 1
    const long long dPrev = depths[w - 1];
    if (dPrev > depths[r] &&
        (depths[r + 1] == dPrev || (lines[r + 1].empty() && depths[r + 1] == 0 && depths[r] != 0)) &&
        measure_.Width(lines[w - 1].data(), lines[w - 1].size()) + measure_.Width(lines[r].data(), lines[r].size()) +
                widthEstimate(dPrev) >
            70) {
      lines[w - 1] += ' ';
      lines[w - 1] += lines[r];
      ++r;
    }
    if (r + 2 < n && dPrev > depths[r] && depths[r + 1] > depths[r] && depths[r + 2] > depths[r + 1] &&
        depths[r + 2] == dPrev) {
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
