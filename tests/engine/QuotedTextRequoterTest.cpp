// Re-quoting in pieces must give exactly what re-quoting the whole text gives.
#include <gtest/gtest.h>

#include <random>

#include "TestText.h"
#include "engine/QuotedTextRequoter.h"

namespace {

std::string RequoteWhole(const Settings& settings, const std::string& text) {
  ReplyFormatter formatter(settings);
  std::string body = text;
  formatter.SplitLines(body);
  formatter.MeasureQuoteDepth();
  formatter.JoinBrokenQuotes();
  formatter.RenderReply(body);
  return body;
}

std::string RequoteInPieces(const Settings& settings, const std::string& text, std::size_t minimumPiece,
                            std::mt19937& rng) {
  QuotedTextRequoter requoter(settings, minimumPiece);
  std::string out;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t n = std::min<std::size_t>(text.size() - pos, rng() % 40);
    requoter.Write(text.data() + pos, n, out);
    pos += n;
  }
  requoter.Finish(out);
  return out;
}

// Quoted text with the shapes that matter at piece boundaries: quote-only
// lines of every depth, depth drops of broken quotes, long lines.
std::string RandomQuotedText(std::mt19937& rng) {
  static const char* const kPrefixes[] = {"> ", ">", "> > ", ">> ", ">>> ", "| ", ": ", "", "> :-) "};
  static const char* const kQuoteOnly[] = {">", "> >", ">>", "", ">>>", "> ", "|"};
  std::string text;
  const int lines = static_cast<int>(rng() % 60);
  for (int i = 0; i < lines; ++i) {
    if (rng() % 3 == 0) {
      text += kQuoteOnly[rng() % 7];
    } else {
      text += kPrefixes[rng() % 9];
      const int words = static_cast<int>(rng() % 18);
      for (int w = 0; w < words; ++w) text += (rng() % 5 == 0 ? "well-known " : "word ");
      if (rng() % 4 == 0) text += "   ";
    }
    text += rng() % 3 == 0 ? "\r\n" : "\n";
  }
  if (rng() % 2 == 0 && !text.empty()) text.pop_back();
  return text;
}

TEST(QuotedTextRequoter, PiecesGiveTheSameBytesAsTheWholeText) {
  std::mt19937 rng(7);
  for (int round = 0; round < 400; ++round) {
    Settings settings = DefaultSettings();
    settings.wrapColumn = 20 + static_cast<int32_t>(rng() % 60);
    settings.compressedIndentation = static_cast<int32_t>(rng() % 2);
    const std::string text = RandomQuotedText(rng);
    const std::string whole = RequoteWhole(settings, text);
    ASSERT_EQ(RequoteInPieces(settings, text, 1, rng), whole) << "round " << round << "\n" << text;
    ASSERT_EQ(RequoteInPieces(settings, text, 1 + rng() % 200, rng), whole) << "round " << round;
  }
}

TEST(QuotedTextRequoter, NoPieceEndsWhereABrokenQuoteIsJoined) {
  // The ">" between the two deeper lines is joined into the long line above
  // it; ending a piece before it would lose that join.
  const std::string text = "> > " + std::string(35, 'a') + " " + std::string(34, 'b') + "\n>\n> > c\n>\n> x\n>\n>\n> y";
  Settings settings = DefaultSettings();
  std::mt19937 rng(1);
  const std::string whole = RequoteWhole(settings, text);
  EXPECT_EQ(OutputLines(whole)[1], ">> " + std::string(34, 'b') + "  c");  // the join happened
  EXPECT_EQ(RequoteInPieces(settings, text, 1, rng), whole);
}

TEST(QuotedTextRequoter, EmptyAndSingleLineTexts) {
  Settings settings = DefaultSettings();
  std::mt19937 rng(3);
  for (const std::string text : {"", "\n", ">", "> a\n", "\n\n\n"})
    EXPECT_EQ(RequoteInPieces(settings, text, 1, rng), RequoteWhole(settings, text)) << text;
}

}  // namespace
