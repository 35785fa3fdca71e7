// The carry of the re-wrapping: text cut off a line that waits for the next.
#pragma once

#include <string>

#include "base/TextChars.h"
#include "engine/TextMeasure.h"

// The carry and the text appended behind it, kept in one buffer with a moving
// start so that a paragraph of any length is wrapped in linear time: consumed
// text is never copied again.
class WrapBuffer {
public:
  explicit WrapBuffer(const TextMeasure& measure, BreakRule rule = BreakRule::kReply)
      : measure_(measure), rule_(rule) {}

  bool Empty() const { return start_ == buffer_.size(); }
  void Append(const std::string& text) { Append(text.data(), text.size()); }
  void Append(const char* text, std::size_t length) {
    // A carry that ends in a wide character meets the next text without a
    // blank when that begins with one too (Chinese and Japanese put none
    // between words); otherwise the blank held back is put in now.
    if (blankHeld_ && !Empty() && !measure_.StartsWide(text, length)) buffer_ += ' ';
    blankHeld_ = false;
    buffer_.append(text, length);
  }
  std::string Remaining() const { return buffer_.substr(start_); }

  // One wrap of the buffer's text behind `prefix` into `out`; what does not
  // fit stays in the buffer as the carry.
  void Wrap(long long wrapColumn, const std::string& prefix, std::string& out) {
    const long long room = wrapColumn - static_cast<long long>(prefix.size());
    out += prefix;
    // The break goes at the last opportunity of the rule that fits.
    const LineFit fit = measure_.Fit(buffer_.data() + start_, buffer_.size() - start_, room, rule_);
    std::size_t p = fit.breakAt;
    // No usable break: the word stays whole, over the column; in today's
    // mail it stands on a line of its own.
    if (!fit.fits && p == 0 && rule_ == BreakRule::kMail) p = BlankAfterFirstWord();
    if (fit.fits || p == 0) {
      TakeAll(out);
      return;
    }
    out.append(buffer_, start_, p);
    start_ += p;
    while (start_ < buffer_.size() && IsAsciiSpace(buffer_[start_])) ++start_;
    if (start_ == buffer_.size()) {
      Clear();
      return;
    }
    if (measure_.EndsWide(buffer_.data() + start_, buffer_.size() - start_)) {
      blankHeld_ = true;
    } else if (rule_ != BreakRule::kMail || buffer_.back() != ' ') {
      buffer_ += ' ';  // separates the carry from the next line's text
    }
    if (start_ > 4096 && start_ > buffer_.size() / 2) {
      buffer_.erase(0, start_);
      start_ = 0;
    }
  }

private:
  // The first blank after the first word that no '>' follows; 0 for none.
  std::size_t BlankAfterFirstWord() const {
    std::size_t at = start_;
    while (at < buffer_.size() && buffer_[at] == ' ') ++at;
    for (; at < buffer_.size(); ++at)
      if (buffer_[at] == ' ' && (at + 1 == buffer_.size() || buffer_[at + 1] != '>')) return at - start_;
    return 0;
  }
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
  BreakRule rule_;
  std::string buffer_;
  std::size_t start_ = 0;
  bool blankHeld_ = false;
};
