#include "engine/QuotedTextRequoter.h"

#include <cstring>

#include "base/TextChars.h"
#include "engine/ReplyFormatter.h"

void RequoteText(std::string& text, const Settings& settings, const TextForm& form) {
  ReplyFormatter formatter(settings, form);
  formatter.SplitLines(text);
  formatter.MeasureQuoteDepth();
  formatter.JoinBrokenQuotes();
  formatter.RenderReply(text);
}

namespace {

TextForm MeasuredForm(const TextMeasure* measure) {
  TextForm form;
  form.measure = measure;
  return form;
}

}  // namespace

QuotedTextRequoter::QuotedTextRequoter(const Settings& settings, std::size_t minimumPiece, const TextMeasure* measure,
                                       bool bytesForInvalidUtf8)
    : QuotedTextRequoter(settings, minimumPiece, MeasuredForm(measure), bytesForInvalidUtf8) {}

QuotedTextRequoter::QuotedTextRequoter(const Settings& settings, std::size_t minimumPiece, const TextForm& form,
                                       bool bytesForInvalidUtf8)
    : settings_(settings),
      minimumPiece_(minimumPiece > 0 ? minimumPiece : 1),
      form_(form),
      bytesForm_(form),
      bytesForInvalidUtf8_(bytesForInvalidUtf8) {
  bytesForm_.measure = nullptr;
  if (!bytesForm_.mailDraft && !bytesForm_.flowed) bytesForm_.todaysMail.Off();
}

void QuotedTextRequoter::Write(const char* data, std::size_t size, std::string& out) {
  pending_.append(data, size);
  ScanLines(out);
}

void QuotedTextRequoter::Finish(std::string& out) {
  EmitPiece(pending_.size(), out);
  pending_.clear();
  scanPos_ = 0;
}

void QuotedTextRequoter::ScanLines(std::string& out) {
  for (;;) {
    const std::size_t lf = pending_.find('\n', scanPos_);
    if (lf == std::string::npos) return;
    // The line as SplitLines will see it: line end and trailing blanks cut.
    std::size_t end = lf;
    while (end > scanPos_ && IsAsciiSpace(pending_[end - 1])) --end;
    const char* line = pending_.data() + scanPos_;
    const QuotePrefix prefix = form_.mailDraft ? ReplyFormatter::ScanMailQuotePrefix(line, end - scanPos_, 0)
                                               : ReplyFormatter::ScanQuotePrefix(line, end - scanPos_, 0);
    const bool quoteOnly = prefix.length == end - scanPos_;
    if (form_.todaysMail && end - scanPos_ - prefix.length >= 4 && std::memcmp(line + prefix.length, "@@ -", 4) == 0)
      hunkSeen_ = true;
    std::size_t lineStart = scanPos_;
    // The candidate line before this one ends a piece unless this line is
    // shallower: then the candidate would be joined with it.
    if (candidate_ && prefix.depth >= candidateDepth_ && candidateStart_ >= minimumPiece_ && !hunkSeen_) {
      EmitPiece(candidateStart_ - 1, out);  // without the line feed before the candidate
      pending_.erase(0, candidateStart_);
      lineStart -= candidateStart_;
    }
    candidate_ = quoteOnly && linesSeen_ >= 2 && depthBack2_ >= depthBack1_ && depthBack1_ == prefix.depth;
    candidateStart_ = lineStart;
    candidateDepth_ = prefix.depth;
    depthBack2_ = depthBack1_;
    depthBack1_ = prefix.depth;
    if (linesSeen_ < 2) ++linesSeen_;
    scanPos_ = lineStart + (lf + 1 - scanPos_);
  }
}

void QuotedTextRequoter::EmitPiece(std::size_t end, std::string& out) {
  piece_.assign(pending_, 0, end);
  const bool bytes = bytesForInvalidUtf8_ && !IsValidUtf8(piece_.data(), piece_.size());
  RequoteText(piece_, settings_, bytes ? bytesForm_ : form_);
  if (emitted_) out += '\n';
  out += piece_;
  emitted_ = true;
}
