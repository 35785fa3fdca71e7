// Re-quoting of quoted text: the lines' quote prefixes rebuilt, broken quotes
// joined and the text re-wrapped, whatever its header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/ReplyFormatter.h"
#include "engine/Settings.h"
#include "engine/TextMeasure.h"

// Re-quotes a whole text in place: SplitLines, MeasureQuoteDepth (from depth
// 0), JoinBrokenQuotes and RenderReply, measured as `form` says (bytes by
// default).
void RequoteText(std::string& text, const Settings& settings, const TextForm& form = TextForm());

// Gives the same bytes as RequoteText over the whole text, but works through
// the text in pieces of about `minimumPiece` bytes, so that a text of many
// megabytes is re-quoted in little memory that stays in the cache.
//
// A piece ends just before a quote-only line (empty text after its prefix)
// whose depth equals that of the line above it, when the line above that is
// at least as deep and the line below it is not shallower.  No join of broken
// quotes can reach across such a line (a join needs a drop in depth from the
// line it extends to the line it takes in, and the join of three lines a rise
// after that drop), so the line keeps its empty text; rendering then ends the
// paragraph there, the carry is empty and the prefix is rebuilt alike.  Text
// without such a line is done in one piece.
class QuotedTextRequoter {
public:
  // `measure` counts the columns (null: bytes).  With bytesForInvalidUtf8, a
  // piece that is not well-formed UTF-8 is measured in bytes instead, so that
  // text in another character set is never taken apart.
  explicit QuotedTextRequoter(const Settings& settings, std::size_t minimumPiece = 256 * 1024,
                              const TextMeasure* measure = nullptr, bool bytesForInvalidUtf8 = false);
  // The same in a whole form.  Under today's mail rules a piece also never
  // ends once a patch's hunk has begun: a hunk reaches across quote-only
  // lines (empty context lines), so the rest of the text is one piece.  The
  // bytes measure of an ill-formed piece keeps today's mail rules only for a
  // draft.
  QuotedTextRequoter(const Settings& settings, std::size_t minimumPiece, const TextForm& form,
                     bool bytesForInvalidUtf8);

  // Takes the next bytes of the text; appends whatever output is final to `out`.
  void Write(const char* data, std::size_t size, std::string& out);
  // Ends the text; appends the rest of the output to `out`.
  void Finish(std::string& out);

private:
  void ScanLines(std::string& out);
  void EmitPiece(std::size_t end, std::string& out);

  const Settings& settings_;
  std::size_t minimumPiece_;
  TextForm form_;
  TextForm bytesForm_;  // for a piece that is not well-formed UTF-8
  bool bytesForInvalidUtf8_;
  bool hunkSeen_ = false;
  std::string pending_;      // text not yet re-quoted; begins at a line start
  std::string piece_;        // reused for each piece's text and output
  std::size_t scanPos_ = 0;  // start of the first line in pending_ not yet looked at
  int linesSeen_ = 0;        // complete lines looked at so far, up to 2
  int32_t depthBack2_ = 0;   // quote depths of the two lines before scanPos_
  int32_t depthBack1_ = 0;
  bool candidate_ = false;          // the last line looked at may end a piece
  std::size_t candidateStart_ = 0;  // its start in pending_
  int32_t candidateDepth_ = 0;
  bool emitted_ = false;
};
