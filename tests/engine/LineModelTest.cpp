// Cutting bodies into lines and reading quote prefixes.
#include <gtest/gtest.h>

#include "TestText.h"

namespace {

Lines Split(const std::string& body) {
  Settings s = DefaultSettings();
  ReplyFormatter f(s);
  f.SplitLines(body);
  EXPECT_EQ(f.quoted, std::vector<unsigned char>(f.lines.size(), 1));
  return f.lines;
}

TEST(SplitLines, CarriageReturnLineFeedPairs) {
  EXPECT_EQ(Split("abc\r\ndef"), (Lines{"abc", "def"}));
  EXPECT_EQ(Split("abc\r\n"), (Lines{"abc", ""}));
  EXPECT_EQ(Split("abc"), (Lines{"abc"}));
  EXPECT_EQ(Split(""), (Lines{""}));
  EXPECT_EQ(Split("a  \r\n"), (Lines{"a", ""}));
  EXPECT_EQ(Split("a \t\v\f\r\r\nb"), (Lines{"a", "b"}));
  EXPECT_EQ(Split("\r\n\r\n"), (Lines{"", "", ""}));
}

TEST(SplitLines, LoneLineFeedIsALineEndToo) {
  EXPECT_EQ(Split("abc\ndef\n"), (Lines{"abc", "def", ""}));
  EXPECT_EQ(Split("\nx"), (Lines{"", "x"}));
  EXPECT_EQ(Split("ab\r\ncd\nef"), (Lines{"ab", "cd", "ef"}));
  // A carriage return inside a line is kept; only trailing ones go.
  EXPECT_EQ(Split("a\rb\n"), (Lines{"a\rb", ""}));
}

struct PrefixCase {
  const char* line;
  int base;
  int depth;
  const char* text;
};

TEST(ScanQuotePrefix, Grammar) {
  const PrefixCase cases[] = {
      {"> > text", 0, 2, "text"},
      {">>text", 0, 2, "text"},
      {"|: text", 0, 2, "text"},
      {">  text", 0, 1, " text"},
      {" > text", 0, 0, " > text"},
      {">", 0, 1, ""},
      {"text", 0, 0, "text"},
      {"text", 1, 1, "text"},
      {"> text", 1, 2, "text"},
      {">\ttext", 0, 1, "\ttext"},
      {"", 0, 0, ""},
      {"> >", 0, 2, ""},
  };
  for (const PrefixCase& c : cases) {
    const std::string line = c.line;
    const QuotePrefix p = ReplyFormatter::ScanQuotePrefix(line, c.base);
    EXPECT_EQ(p.depth, c.depth) << line;
    EXPECT_EQ(line.substr(p.length), c.text) << line;
  }
}

TEST(ScanQuotePrefix, ColonBeforeANonWordCharacterIsAnEmoticon) {
  const PrefixCase cases[] = {
      {":-)", 0, 0, ":-)"}, {">:-)", 0, 1, ":-)"},  {":)", 0, 0, ":)"},
      {":D", 0, 1, "D"},    {"::x", 0, 2, "x"},     {">:\xE9t\xE9", 0, 1, ":\xE9t\xE9"},
      {": x", 0, 1, "x"},   {"> :-)", 0, 1, ":-)"}, {":-)", 1, 1, ":-)"},
      {"::", 0, 2, ""},
  };
  for (const PrefixCase& c : cases) {
    const std::string line = c.line;
    const QuotePrefix p = ReplyFormatter::ScanQuotePrefix(line, c.base);
    EXPECT_EQ(p.depth, c.depth) << line;
    EXPECT_EQ(line.substr(p.length), c.text) << line;
  }
}

TEST(CharacterClasses, WordAndQuoteCharacters) {
  int words = 0;
  for (int c = 0; c < 256; ++c) words += ReplyFormatter::IsWordChar(static_cast<unsigned char>(c)) ? 1 : 0;
  EXPECT_EQ(words, 26 + 10 + 31);  // A-Z, 0-9, 0x61..0x7F
  EXPECT_TRUE(ReplyFormatter::IsWordChar(0x7F));
  EXPECT_FALSE(ReplyFormatter::IsWordChar('_'));
  EXPECT_FALSE(ReplyFormatter::IsWordChar(0x80));
  EXPECT_TRUE(ReplyFormatter::IsQuoteChar(':'));
  EXPECT_FALSE(ReplyFormatter::IsQuoteChar('#'));
}

TEST(CharacterClasses, QuoteOnlyAndBlankLines) {
  EXPECT_TRUE(ReplyFormatter::IsQuoteOnlyLine(""));
  EXPECT_TRUE(ReplyFormatter::IsQuoteOnlyLine("> > :|"));
  EXPECT_FALSE(ReplyFormatter::IsQuoteOnlyLine("> \r"));
  EXPECT_FALSE(ReplyFormatter::IsQuoteOnlyLine(">\t"));
  EXPECT_TRUE(ReplyFormatter::IsBlankLine("> \r>"));
  EXPECT_FALSE(ReplyFormatter::IsBlankLine("> x"));
  EXPECT_FALSE(ReplyFormatter::IsBlankLine("\t"));
}

TEST(MeasureQuoteDepth, OwnLinesKeepEveryCharacter) {
  Settings s = DefaultSettings();
  ReplyFormatter f(s);
  f.SplitLines("> own\r\n> > quoted\r\ntext");
  f.quoted[0] = 0;
  f.baseDepth = 1;
  f.MeasureQuoteDepth();
  EXPECT_EQ(f.lines, (Lines{"> own", "quoted", "text"}));
  EXPECT_EQ(f.depths, (std::vector<int32_t>{0, 3, 1}));
}

}  // namespace
