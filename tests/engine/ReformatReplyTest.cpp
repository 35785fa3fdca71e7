// The whole reply pipeline on realistic bodies.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "TestText.h"

namespace {

const Lines kQuotedPart = {"Ann Lee wrote:", "> Hello Bob, this is a rather long line that the client did not wrap at",
                           "> all because it was typed that way."};
const Lines kOwnPart = {"", "", "-- ", "Bob"};

Lines Concat(std::initializer_list<Lines> parts) {
  Lines all;
  for (const Lines& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

TEST(WorkedExample, DefaultsMoveOwnPartBelowTheRewrappedQuote) {
  const Reformatted r = Reformat(DefaultSettings(), CrLfBody(SampleReplyLines()), 99);
  EXPECT_EQ(r.result, kReformatDone);
  EXPECT_EQ(r.cursorLines, 0);
  EXPECT_EQ(OutputLines(r.body), Concat({kQuotedPart, kOwnPart}));
  EXPECT_EQ(r.body.find('\r'), std::string::npos);
  EXPECT_NE(r.body.back(), '\n');
}

TEST(WorkedExample, CursorNotAtTopCountsTheMovedLines) {
  Settings s = DefaultSettings();
  s.cursorAtTop = 0;
  const Reformatted r = Reformat(s, CrLfBody(SampleReplyLines()));
  EXPECT_EQ(r.result, kReformatDone);
  EXPECT_EQ(r.cursorLines, 3);
  EXPECT_EQ(OutputLines(r.body), Concat({kQuotedPart, kOwnPart}));
}

TEST(WorkedExample, OwnPartStaysOnTopWithABlankLineBeforeTheHeader) {
  Settings s = DefaultSettings();
  s.cursorAtTop = 0;
  s.moveSignatureToBottom = 0;
  const Reformatted r = Reformat(s, CrLfBody(SampleReplyLines()));
  EXPECT_EQ(r.result, kReformatDone);
  EXPECT_EQ(r.cursorLines, 0);
  EXPECT_EQ(OutputLines(r.body), Concat({kOwnPart, {""}, kQuotedPart}));
}

TEST(WorkedExample, StyleNoneDropsTheWholeHeaderBlock) {
  Settings s = DefaultSettings();
  s.headerStyle = kHeaderStyleNone;
  const Reformatted r = Reformat(s, CrLfBody(SampleReplyLines()));
  EXPECT_EQ(r.result, kReformatDone);
  EXPECT_EQ(OutputLines(r.body), Concat({{kQuotedPart[1], kQuotedPart[2]}, kOwnPart}));
}

TEST(WorkedExample, StyleOEKeepsTheBlockAsOwnText) {
  Settings s = DefaultSettings();
  s.headerStyle = kHeaderStyleOE;
  const Reformatted r = Reformat(s, CrLfBody(SampleReplyLines()));
  EXPECT_EQ(r.result, kReformatDone);
  EXPECT_EQ(
      OutputLines(r.body),
      Concat({{"---- Message ----", "From: \"Ann Lee\" <ann.lee>", "To: <bob>", "Sent: Monday", "Subject: Test", ""},
              {kQuotedPart[1], kQuotedPart[2]},
              kOwnPart}));
}

TEST(WorkedExample, OtherHeaderStyles) {
  Settings s = DefaultSettings();
  s.headerStyle = kHeaderStyleShortMail;
  EXPECT_EQ(OutputLines(Reformat(s, CrLfBody(SampleReplyLines())).body)[0], "Ann Lee <ann.lee> wrote:");
  s.headerStyle = kHeaderStyleCustom;
  const Lines custom = OutputLines(Reformat(s, CrLfBody(SampleReplyLines())).body);
  // The template's "\n" makes the attribution show as two lines.
  EXPECT_EQ(custom[0], "Ann Lee <ann.lee> scribbled:");
  EXPECT_EQ(custom[1], "");
  EXPECT_EQ(custom[2], kQuotedPart[1]);
}

TEST(WorkedExample, IsoSignatureFixWritesTheSeparatorWithByte81) {
  Settings s = DefaultSettings();
  s.isoSignatureFix = 1;
  const Lines out = OutputLines(Reformat(s, CrLfBody(SampleReplyLines())).body);
  EXPECT_EQ(out[out.size() - 2], "--\x81");
}

TEST(WorkedExample, UnixLineEndsGiveTheSameResult) {
  std::string body = CrLfBody(SampleReplyLines());
  std::string unix;
  for (char c : body)
    if (c != '\r') unix += c;
  EXPECT_EQ(Reformat(DefaultSettings(), unix).body, Reformat(DefaultSettings(), body).body);
}

TEST(Skipped, BodyWithoutLineFeedIsLeftAloneAndCursorUntouched) {
  const Reformatted r = Reformat(DefaultSettings(), "just one line", 7);
  EXPECT_EQ(r.result, kReformatUnchanged);
  EXPECT_EQ(r.cursorLines, 7);
  EXPECT_EQ(r.body, "just one line");
}

TEST(Skipped, NoHeaderAndHeaderOnLineZero) {
  const std::string noHeader = CrLfBody({"", "> quoted", "> more"});
  EXPECT_EQ(Reformat(DefaultSettings(), noHeader).result, kReformatUnchanged);
  EXPECT_EQ(Reformat(DefaultSettings(), noHeader).body, noHeader);
  const std::string newsOnLineZero = CrLfBody({"\"Ann\" <ann> wrote in news:abc...", "> quoted"});
  EXPECT_EQ(Reformat(DefaultSettings(), newsOnLineZero).result, kReformatUnchanged);
}

TEST(OwnPart, SingleLineAboveTheHeaderIsRemovedWhateverTheSettings) {
  for (int move = 0; move <= 1; ++move) {
    Settings s = DefaultSettings();
    s.moveSignatureToBottom = move;
    s.cursorAtTop = 0;
    const Reformatted r = Reformat(s, CrLfBody({"typing here", "\"Ann\" <ann> wrote in news:abc...", "> text"}));
    EXPECT_EQ(r.result, kReformatDone);
    EXPECT_EQ(OutputLines(r.body), (Lines{"Ann wrote:", "> text"}));
    EXPECT_EQ(r.cursorLines, move ? -1 : 0);
  }
}

TEST(OwnPart, NewsHeaderWithOwnSignature) {
  const Reformatted r =
      Reformat(DefaultSettings(), CrLfBody({"", "-- ", "Ann", "\"Bob\" <bob> wrote in news:x...", "> one", "> two"}));
  EXPECT_EQ(OutputLines(r.body), (Lines{"Bob wrote:", "> one", "> two", "", "-- ", "Ann"}));
}

TEST(BaseDepth, QuotedPartWithEmptyOrUnprefixedLineGoesOneLevelDeeper) {
  const Reformatted r =
      Reformat(DefaultSettings(), CrLfBody({"", "\"Bob\" <bob> wrote in news:x...", "> one", "", "plain", "> > two"}));
  EXPECT_EQ(r.result, kReformatDeeper);
  // The empty line is quoted text of depth 1 as well.
  EXPECT_EQ(OutputLines(r.body), (Lines{"Bob wrote:", ">> one", "> ", "> plain", ">>> two"}));
}

TEST(BaseDepth, FinalLineFeedCountsButTheEmptyLineIsRemoved) {
  const Reformatted r = Reformat(DefaultSettings(), CrLfBody({"", "\"Bob\" <bob> wrote in news:x...", "> one", ""}));
  EXPECT_EQ(r.result, kReformatDeeper);
  EXPECT_EQ(OutputLines(r.body), (Lines{"Bob wrote:", ">> one"}));
}

TEST(BaseDepth, OtherQuoteCharacterMakesTheWholeQuoteDeeper) {
  Settings s = DefaultSettings();
  s.quoteChar = '|';
  const Reformatted r = Reformat(s, CrLfBody({"", "x", "\"Bob\" <bob> wrote in news:x...", "> one", "> --", "> Bob"}));
  EXPECT_EQ(r.result, kReformatDeeper);
  // The sought separator is "--" at base depth 1, so "> --" stays.
  EXPECT_EQ(OutputLines(r.body), (Lines{"Bob wrote:", "|| one", "|| --", "|| Bob", "", "x"}));
}

TEST(FixExistingQuotes, BrokenLineIsJoinedOnlyWhenSwitchedOn) {
  const std::string long1 = "This line of the original message was quite long enough for the";
  const std::string body =
      CrLfBody({"", "x", "\"Bob\" <bob> wrote in news:x...", "> > " + long1, "> client", "> > to break it."});
  const Lines joined = OutputLines(Reformat(DefaultSettings(), body).body);
  EXPECT_EQ(joined[1], ">> " + long1);
  EXPECT_EQ(joined[2], ">> client to break it.");
  EXPECT_EQ(joined.size(), 5u);  // header, two quoted lines, the own part
  Settings s = DefaultSettings();
  s.fixExistingQuotes = 0;
  const Lines kept = OutputLines(Reformat(s, body).body);
  EXPECT_EQ(kept[1], ">> " + long1);
  EXPECT_EQ(kept[2], "> client");
  EXPECT_EQ(kept[3], ">> to break it.");
}

// A header removed together with the empty line above it: the own part is
// one line shorter than the header index says.
TEST(RemovedHeader, MovesOnlyTheOwnLines) {
  Settings s = DefaultSettings();
  s.headerStyle = kHeaderStyleNone;
  s.cursorAtTop = 0;
  const Lines body = {"",           "-- ", "Bob", "",   "----- Message -----", "From: x", "To: y", "Sent: z",
                      "Subject: w", "",    "> a", "> b"};
  const Reformatted r = Reformat(s, CrLfBody(body));
  EXPECT_EQ(r.result, kReformatDone);
  EXPECT_EQ(OutputLines(r.body), (Lines{"> a", "> b", "", "-- ", "Bob"}));
  EXPECT_EQ(r.cursorLines, 2);
}

TEST(RemovedHeader, SenderWithoutAngleBracketsRemovesTheBlockToo) {
  const Lines body = {"",           "-- ", "Bob", "",   "----- Message -----", "From: Ann Lee", "To: y", "Sent: z",
                      "Subject: w", "",    "> a", "> b"};
  EXPECT_EQ(OutputLines(Reformat(DefaultSettings(), CrLfBody(body)).body), (Lines{"> a", "> b", "", "-- ", "Bob"}));
}

TEST(RemovedHeader, OneLineBelowTheBlockIsStillReformatted) {
  Settings s = DefaultSettings();
  s.headerStyle = kHeaderStyleNone;
  const Lines body = {"",        "-- ",        "Bob", "",  "----- Message -----", "From: x", "To: y",
                      "Sent: z", "Subject: w", "",    ">a"};
  const Reformatted r = Reformat(s, CrLfBody(body));
  EXPECT_EQ(r.result, kReformatDone);
  EXPECT_EQ(OutputLines(r.body), (Lines{"> a", "", "-- ", "Bob"}));
}

TEST(RemovedHeader, NothingBelowTheBlockLeavesTheBodyAlone) {
  Settings s = DefaultSettings();
  s.headerStyle = kHeaderStyleNone;
  for (const Lines& body :
       {Lines{"", "-- ", "Bob", "", "----- Message -----", "From: x", "To: y", "Sent: z", "Subject: w", ""},
        Lines{"", "-- ", "Bob", "----- Message -----", "From: x", "To: y", "Sent: z", "Subject: w", "Cc: v"}}) {
    const Reformatted r = Reformat(s, CrLfBody(body));
    EXPECT_EQ(r.result, kReformatUnchanged);
    EXPECT_EQ(r.body, CrLfBody(body));
  }
}

TEST(SeparatorHeader, BlockWithoutEmptyLineKeepsTheFirstQuotedLine) {
  const Lines body = {"",
                      "x",
                      "----- Original Message -----",
                      "From: \"Ann Lee\" <ann.lee>",
                      "To: <bob>",
                      "Sent: Monday",
                      "Subject: Test",
                      "> first quoted line",
                      "> second quoted line"};
  const Reformatted r = Reformat(DefaultSettings(), CrLfBody(body));
  EXPECT_EQ(r.result, kReformatDone);
  EXPECT_EQ(OutputLines(r.body), (Lines{"Ann Lee wrote:", "> first quoted line", "> second quoted line", "", "x"}));
}

TEST(RemovedHeader, NewsLineWithoutSenderIsRemoved) {
  const Reformatted r = Reformat(DefaultSettings(), CrLfBody({"", "x", "Ann wrote in news:abc...", "> a"}));
  EXPECT_EQ(OutputLines(r.body), (Lines{"> a", "", "x"}));
}

// Records loaded from a file are used as they are; none of these may crash,
// hang or read outside the record (the sanitizer builds check the latter).
TEST(NonsenseRecord, AnyWrapColumnStyleAndQuoteCharacter) {
  const std::string body = CrLfBody(SampleReplyLines());
  for (int32_t wrap : {0, 1, 2, -1, -100, INT_MIN, INT_MAX, 5}) {
    for (int32_t style : {-1, 5, 1000, INT_MIN, INT_MAX}) {
      for (int q : {0, 0x7F, 0xFF, static_cast<int>(' '), static_cast<int>('-')}) {
        Settings s = DefaultSettings();
        s.wrapColumn = wrap;
        s.headerStyle = style;
        s.quoteChar = static_cast<char>(q);
        s.compressedIndentation = wrap & 1;
        const Reformatted r = Reformat(s, body);
        EXPECT_NE(r.result, kReformatUnchanged);
      }
    }
  }
}

TEST(NonsenseRecord, WrapColumnAtOrBelowThePrefixNeverBreaksLines) {
  Settings s = DefaultSettings();
  s.wrapColumn = 0;
  const Lines out = OutputLines(Reformat(s, CrLfBody(SampleReplyLines())).body);
  EXPECT_EQ(out[1], "> Hello Bob, this is a rather long line that the client did not wrap at all because");
}

TEST(NonsenseRecord, UnknownStyleComposesAnEmptyHeader) {
  Settings s = DefaultSettings();
  s.headerStyle = 17;
  const Lines out = OutputLines(Reformat(s, CrLfBody(SampleReplyLines())).body);
  EXPECT_EQ(out[0], "");
  EXPECT_EQ(out[1], "> Hello Bob, this is a rather long line that the client did not wrap at");
}

TEST(NonsenseRecord, CustomHeaderWithoutZeroEndsAtItsEightiethCharacter) {
  Settings s = DefaultSettings();
  s.headerStyle = kHeaderStyleCustom;
  s.wrapColumn = 200;
  std::memset(s.customHeader, 'x', sizeof s.customHeader);
  std::memcpy(s.customHeader, "%n:", 3);
  const Lines out = OutputLines(Reformat(s, CrLfBody(SampleReplyLines())).body);
  EXPECT_EQ(out[0], "Ann Lee:" + std::string(77, 'x'));
}

TEST(Scale, HundredThousandLinesOfOneParagraph) {
  Lines body = {"", "-- ", "Bob", "----- Message -----", "From: \"Ann\" <ann>", "To: b", "Sent: c", "Subject: d", ""};
  for (int i = 0; i < 100000; ++i)
    body.push_back("> word" + std::to_string(i % 10) + " and some more text that runs on");
  const Reformatted r = Reformat(DefaultSettings(), CrLfBody(body));
  ASSERT_EQ(r.result, kReformatDone);
  const Lines out = OutputLines(r.body);
  EXPECT_EQ(out.front(), "Ann wrote:");
  for (std::size_t i = 1; i + 3 < out.size(); ++i) ASSERT_LE(out[i].size(), 72u) << i;
  EXPECT_EQ(out.back(), "Bob");
}

}  // namespace
