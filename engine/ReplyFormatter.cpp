// The reply pipeline: header, own part, signatures, prefixes, rendering.
#include "engine/ReplyFormatter.h"

ReplyFormatter::ReplyFormatter(const Settings& settings, const TextForm& form)
    : wrapColumn(settings.wrapColumn),
      settings_(settings),
      form_(form),
      measure_(form.measure != nullptr ? *form.measure : BytesMeasure()) {}

ReplyFormatter::~ReplyFormatter() = default;

void ReplyFormatter::RemoveLines(std::size_t first, std::size_t count) {
  if (first >= lines.size() || count == 0) return;
  if (count > lines.size() - first) count = lines.size() - first;
  const auto at = static_cast<std::ptrdiff_t>(first);
  const auto end = static_cast<std::ptrdiff_t>(first + count);
  lines.erase(lines.begin() + at, lines.begin() + end);
  quoted.erase(quoted.begin() + at, quoted.begin() + end);
  if (depths.size() >= first + count) depths.erase(depths.begin() + at, depths.begin() + end);
}

void ReplyFormatter::InsertLine(std::size_t index, const std::string& text, unsigned char isQuoted) {
  if (index > lines.size()) index = lines.size();
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(index), text);
  quoted.insert(quoted.begin() + static_cast<std::ptrdiff_t>(index), isQuoted);
}

ReformatResult ReplyFormatter::ReformatReply(std::string& body, int& cursorLines) {
  if (body.find('\n') == std::string::npos) return kReformatUnchanged;
  cursorLines = 0;
  SplitLines(body);

  // The draft's steps are reached only through the form, so that a program
  // that never edits drafts does not carry them.
  const bool draft = static_cast<bool>(form_.mailDraft);
  int h = 0;
  HeaderForm form = HeaderForm::kNone;
  if (!(draft ? form_.mailDraft->FindHeader(*this, h, form) : FindHeader(h, form))) return kReformatUnchanged;

  // A single line above the header is the client's typing line: drop it.
  // Otherwise keep a blank line between the own part and the header when the
  // own part stays on top.  In a draft the line above may hold what the user
  // typed already, and a header at the top, or one with an empty line above
  // it, has nothing more to keep apart.
  if (h == 1 && (!draft || lines[0].empty())) {
    RemoveLines(0, 1);
    h = 0;
  } else if (settings_.moveSignatureToBottom == 0 && !(draft && (h == 0 || lines[h - 1].empty()))) {
    InsertLine(static_cast<std::size_t>(h), std::string(), 0);
    ++h;
  }
  int ownEnd = h - 1;

  HeaderChange change;
  const int headerEnd = ReplaceHeader(h, form, &change);
  // When the header went with the empty line above it, that line no longer
  // belongs to the own part; counting it would move a quoted line along.
  if (change.blankAboveRemoved) ownEnd = h - 2;
  // A removed header with nothing below it leaves nothing to reformat.
  if (change.headerRemoved && static_cast<std::size_t>(headerEnd + 1) >= lines.size()) return kReformatUnchanged;

  MarkOwnPart(headerEnd);

  baseDepth = 0;
  if (draft) {
    form_.mailDraft->TakeQuoteDepth(*this, headerEnd);
  } else {
    for (std::size_t i = static_cast<std::size_t>(headerEnd + 1); i < lines.size(); ++i) {
      if (lines[i].empty() || lines[i][0] != settings_.quoteChar) {
        baseDepth = 1;
        break;
      }
    }
  }

  // Blank lines right below the header, removed as one range.
  const std::size_t below = static_cast<std::size_t>(headerEnd + 1);
  std::size_t blankEnd = below;
  while (blankEnd < lines.size() && IsEmptyQuoteLine(lines[blankEnd])) ++blankEnd;
  RemoveLines(below, blankEnd - below);

  if (settings_.stripQuotedSignature != 0) StripQuotedSignature(headerEnd);

  if (draft) form_.mailDraft->DropEmptyQuoteEnds(*this, headerEnd);

  while (!lines.empty() && IsEmptyQuoteLine(lines.back())) {
    lines.pop_back();
    quoted.pop_back();
  }

  if (settings_.moveSignatureToBottom != 0) {
    MoveOwnPartToBottom(ownEnd, cursorLines);
  } else if (draft) {
    ownEnd = form_.mailDraft->MoveOwnSignatureBelowQuote(*this, ownEnd);
  }

  MeasureQuoteDepth();
  // Flowed text has no lines the client broke: its long lines arrive whole.
  if (settings_.fixExistingQuotes != 0 && !form_.flowed) JoinBrokenQuotes();
  RenderReply(body);
  // A draft whose own part was not moved (none above the header, or kept
  // there) still has a place where the user types.
  const bool ownMoved = settings_.moveSignatureToBottom != 0 && ownEnd >= 0;
  if (draft && !ownMoved && settings_.cursorAtTop == 0) cursorLines = form_.mailDraft->CaretLines(*this, ownEnd, body);
  return baseDepth == 1 ? kReformatDeeper : kReformatDone;
}
