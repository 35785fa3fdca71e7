// The steps in which a terminal mail client's draft differs from the Windows
// client's body, and the one DraftSteps that reaches them.
#include <algorithm>
#include <vector>

#include "engine/ReplyFormatter.h"

void ReplyFormatter::TakeDraftQuoteDepth(int headerEnd) {
  // A draft's quote keeps its depth; unquoted lines in it are the user's
  // own.  Only a quote that came without any prefix (as some clients send it
  // below their header block) is taken one level deeper.
  baseDepth = 1;
  for (std::size_t i = static_cast<std::size_t>(headerEnd + 1); i < lines.size(); ++i) {
    if (!lines[i].empty() && IsQuoteMark(static_cast<unsigned char>(lines[i][0]))) {
      baseDepth = 0;
      break;
    }
  }
  if (baseDepth == 0) RestoreDraftSignature(headerEnd);
}

void ReplyFormatter::RestoreDraftSignature(int headerEnd) {
  // Below the quote of a draft, an unquoted "--" is the own separator, which
  // lost its blank when the lines were trimmed.
  for (std::size_t i = static_cast<std::size_t>(headerEnd + 1); i < lines.size(); ++i)
    if (lines[i] == "--") lines[i] = OwnSeparator();
}

void ReplyFormatter::DropEmptyQuoteEnds(int headerEnd) {
  // Own text may follow the quote: empty quoted lines at the end of a quoted
  // block (left over from the stripped signature) go, as they do at the end
  // of the body.
  if (baseDepth != 0) return;
  for (std::size_t i = lines.size(); i-- > static_cast<std::size_t>(headerEnd + 1);) {
    const bool quotedBlank =
        !lines[i].empty() && IsQuoteMark(static_cast<unsigned char>(lines[i][0])) && IsEmptyQuoteLine(lines[i]);
    const bool blockEnds =
        i + 1 == lines.size() || lines[i + 1].empty() || !IsQuoteMark(static_cast<unsigned char>(lines[i + 1][0]));
    if (quotedBlank && blockEnds) RemoveLines(i, 1);
  }
}

int ReplyFormatter::SettleDraftOwnPart(std::size_t first) {
  // A draft's own part has no empty typing line to keep it off the quote.
  if (first > 0 && first < lines.size() && !lines[first].empty()) InsertLine(first, std::string(), 0);
  // Nor does it end in empty lines, which the draft's text would keep.
  int trimmed = 0;
  while (lines.size() > 1 && lines.back().empty()) {
    RemoveLines(lines.size() - 1, 1);
    ++trimmed;
  }
  return trimmed;
}

int ReplyFormatter::MoveOwnSignatureBelowQuote(int ownEnd) {
  if (ownEnd < 0) return ownEnd;
  long long first = -1;
  for (long long j = std::min<long long>(ownEnd, static_cast<long long>(lines.size()) - 1); j >= 0; --j) {
    if (lines[static_cast<std::size_t>(j)] == OwnSeparator()) {
      first = j;
      break;
    }
  }
  if (first < 0) return ownEnd;
  const std::size_t from = static_cast<std::size_t>(first);
  const std::size_t count = static_cast<std::size_t>(ownEnd) + 1 - from;
  std::vector<std::string> signature(lines.begin() + static_cast<std::ptrdiff_t>(from),
                                     lines.begin() + static_cast<std::ptrdiff_t>(from + count));
  while (!signature.empty() && signature.back().empty()) signature.pop_back();
  RemoveLines(from, count);
  // Own text above keeps one empty line between it and the header.
  std::size_t blanks = from;
  while (blanks > 0 && lines[blanks - 1].empty()) --blanks;
  RemoveLines(blanks, from - blanks);
  if (blanks > 0) InsertLine(blanks, std::string(), 0);
  InsertLine(lines.size(), std::string(), 0);
  for (const std::string& line : signature) InsertLine(lines.size(), line, 0);
  return blanks > 0 ? static_cast<int>(blanks) : -1;
}

int ReplyFormatter::DraftCaretLines(int ownEnd, const std::string& body) const {
  // Own text kept above the quote is a reply on top: the user types at the
  // start of the body.  The quote's lines were re-wrapped, so the rendered
  // lines are counted.
  if (ownEnd >= 0) return static_cast<int>(std::count(body.begin(), body.end(), '\n'));
  // Otherwise the user types below the quote, on the first own line there,
  // counted in lines as an own part moved below the quote is.
  std::size_t below = lines.size();
  while (below > 0 && (below > depths.size() || depths[below - 1] == 0)) --below;
  if (below == 0 || below >= lines.size()) return 0;
  return static_cast<int>(lines.size() - 1 - below);
}

class MailDraftRules final : public DraftSteps {
public:
  bool FindHeader(const ReplyFormatter& formatter, int& headerIndex, HeaderForm& form) const override {
    return formatter.FindDraftHeader(headerIndex, form);
  }
  bool ParseAttribution(const std::string& line, Sender& sender) const override {
    return ReplyFormatter::ParseClientAttribution(line, sender);
  }
  bool ParseMailbox(const std::string& text, Sender& sender) const override {
    return ReplyFormatter::ParseMailbox(text, sender);
  }
  int ReplaceHeader(ReplyFormatter& formatter, int headerIndex, HeaderForm form, HeaderChange& what) const override {
    return formatter.ReplaceDraftHeader(headerIndex, form, what);
  }
  void TakeQuoteDepth(ReplyFormatter& formatter, int headerEnd) const override {
    formatter.TakeDraftQuoteDepth(headerEnd);
  }
  void DropEmptyQuoteEnds(ReplyFormatter& formatter, int headerEnd) const override {
    formatter.DropEmptyQuoteEnds(headerEnd);
  }
  int SettleOwnPartBelowQuote(ReplyFormatter& formatter, std::size_t first) const override {
    return formatter.SettleDraftOwnPart(first);
  }
  int MoveOwnSignatureBelowQuote(ReplyFormatter& formatter, int ownEnd) const override {
    return formatter.MoveOwnSignatureBelowQuote(ownEnd);
  }
  int CaretLines(const ReplyFormatter& formatter, int ownEnd, const std::string& body) const override {
    return formatter.DraftCaretLines(ownEnd, body);
  }
};

const DraftSteps& MailDraftSteps() {
  static const MailDraftRules rules;
  return rules;
}
