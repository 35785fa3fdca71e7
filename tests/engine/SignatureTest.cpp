// Own separators, the quoted sender's signature and the own part's move.
#include <gtest/gtest.h>

#include "TestText.h"

namespace {

struct Fixture {
  Settings settings = DefaultSettings();
  ReplyFormatter formatter{settings};
  void Set(const Lines& lines) {
    formatter.lines = lines;
    formatter.quoted.assign(lines.size(), 1);
  }
};

TEST(MarkOwnPart, RestoresSeparatorsUpToTheHeaderOnly) {
  Fixture t;
  t.Set({"", "--", "Ann", "-- x", "Ann wrote:", "--"});
  t.formatter.MarkOwnPart(4);
  EXPECT_EQ(t.formatter.lines, (Lines{"", "-- ", "Ann", "-- x", "Ann wrote:", "--"}));
  EXPECT_EQ(t.formatter.quoted, (std::vector<unsigned char>{0, 0, 0, 0, 0, 1}));
  t.settings.isoSignatureFix = 1;
  t.Set({"--"});
  t.formatter.MarkOwnPart(0);
  EXPECT_EQ(t.formatter.lines[0], "--\x81");
}

TEST(StripQuotedSignature, FromTheSeparatorToTheEmptyQuotedLines) {
  Fixture t;
  t.Set({"hdr", "> text", "> --", "> Ann", "> Street 1", ">", ">", "> more"});
  t.formatter.StripQuotedSignature(0);
  EXPECT_EQ(t.formatter.lines, (Lines{"hdr", "> text", "> more"}));
}

TEST(StripQuotedSignature, AtTheEndAndOnlyTheLastOne) {
  Fixture t;
  t.Set({"hdr", "> --", "> Old", ">", "> text", "> --", "> Ann", "> Street"});
  t.formatter.StripQuotedSignature(0);
  EXPECT_EQ(t.formatter.lines, (Lines{"hdr", "> --", "> Old", ">", "> text"}));
}

TEST(StripQuotedSignature, DeeperOrUnquotedLinesEndTheSignature) {
  Fixture t;
  t.Set({"hdr", "> --", "> Ann", "> > deeper", "> x"});
  t.formatter.StripQuotedSignature(0);
  EXPECT_EQ(t.formatter.lines, (Lines{"hdr", "> > deeper", "> x"}));
  t.Set({"hdr", "> > --", "> > Ann"});
  t.formatter.StripQuotedSignature(0);
  EXPECT_EQ(t.formatter.lines.size(), 3u);
}

TEST(StripQuotedSignature, SeparatorFollowsQuoteCharacterAndBaseDepth) {
  Fixture t;
  t.settings.quoteChar = '|';
  t.Set({"hdr", "> --", "> Ann"});
  t.formatter.baseDepth = 1;
  t.formatter.StripQuotedSignature(0);
  EXPECT_EQ(t.formatter.lines.size(), 3u);  // "> --" is not the sought "--"
  t.Set({"hdr", "x", "--", "Ann", "", "y"});
  t.formatter.StripQuotedSignature(0);
  EXPECT_EQ(t.formatter.lines, (Lines{"hdr", "x", "y"}));
  t.formatter.baseDepth = 0;
  t.Set({"hdr", "| --", "| Ann"});
  t.formatter.StripQuotedSignature(0);
  EXPECT_EQ(t.formatter.lines, (Lines{"hdr"}));
}

TEST(MoveOwnPartToBottom, OwnLinesFollowTheQuoteInOrder) {
  Fixture t;
  t.settings.cursorAtTop = 0;
  t.Set({"", "-- ", "Ann", "Bob wrote:", "> q"});
  t.formatter.quoted = {0, 0, 0, 0, 1};
  int cursor = 0;
  t.formatter.MoveOwnPartToBottom(2, cursor);
  EXPECT_EQ(t.formatter.lines, (Lines{"Bob wrote:", "> q", "", "-- ", "Ann"}));
  EXPECT_EQ(t.formatter.quoted, (std::vector<unsigned char>{0, 1, 0, 0, 0}));
  EXPECT_EQ(cursor, 2);
}

TEST(MoveOwnPartToBottom, ZeroAndMinusOne) {
  Fixture t;
  t.settings.cursorAtTop = 0;
  t.Set({"a", "b"});
  int cursor = 5;
  t.formatter.MoveOwnPartToBottom(0, cursor);
  EXPECT_EQ(t.formatter.lines, (Lines{"a", "b"}));
  EXPECT_EQ(cursor, 5);
  t.formatter.MoveOwnPartToBottom(-1, cursor);
  EXPECT_EQ(t.formatter.lines, (Lines{"a", "b"}));
  EXPECT_EQ(cursor, -1);
  t.settings.cursorAtTop = 1;
  cursor = 0;
  t.formatter.MoveOwnPartToBottom(1, cursor);
  EXPECT_EQ(t.formatter.lines, (Lines{"a", "b"}));
  EXPECT_EQ(cursor, 0);
}

TEST(MoveOwnPartToBottom, NeverMovesMoreLinesThanThereAre) {
  Fixture t;
  t.Set({"a", "b"});
  int cursor = 0;
  t.formatter.MoveOwnPartToBottom(10, cursor);
  EXPECT_EQ(t.formatter.lines, (Lines{"a", "b"}));
}

TEST(SignatureFix, SeparatorLinesGetByte81) {
  std::string body = "Hi\r\n-- \r\nAnn\r\n--\r\nx\r\n-- x\r\n--";
  ApplySignatureFix(body);
  EXPECT_EQ(body, "Hi\r\n--\x81\r\nAnn\r\n--\x81\r\nx\r\n-- x\r\n--");
  std::string unix = "Hi\n-- \n--\nAnn";
  ApplySignatureFix(unix);
  EXPECT_EQ(unix, "Hi\n--\x81\n--\x81\nAnn");
  std::string first = "-- \r\nAnn";
  ApplySignatureFix(first);
  EXPECT_EQ(first, "-- \r\nAnn");
}

}  // namespace
