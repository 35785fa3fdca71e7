// The text functions of the colouring, byte for byte on hand-worked inputs.
#include <gtest/gtest.h>

#include "automation/HtmlQuotes.h"

namespace {

std::string Coloured(std::string html, int styleCount = 7) {
  ColourQuoteLevels(html, styleCount);
  return html;
}

// The class the single line gets, or "none" when no span is opened.
std::string LevelOf(const std::string& line, int styleCount = 7) {
  const std::string out = Coloured(line, styleCount);
  if (out == line) return "none";
  const std::string open = "</span><span class=";
  if (out.compare(0, open.size(), open) != 0) return "?" + out;
  return out.substr(open.size(), out.find('>', open.size()) - open.size());
}

TEST(QuoteDepth, CountsMarksWithOneBlankAfterEach) {
  EXPECT_EQ("q2", LevelOf("&gt; &gt; text"));
  EXPECT_EQ("q2", LevelOf("&gt;&gt;text"));
  EXPECT_EQ("q1", LevelOf("&gt;  text"));  // the second blank ends the marks
  EXPECT_EQ("q2", LevelOf("|: text"));
  EXPECT_EQ("none", LevelOf(" &gt; text"));  // a leading blank is text
  EXPECT_EQ("q1", LevelOf("&gt;"));
}

TEST(QuoteDepth, AColonBeforePunctuationIsASmiley) {
  EXPECT_EQ("none", LevelOf(":-) hello"));
  EXPECT_EQ("q1", LevelOf(":text"));
  EXPECT_EQ("q1", LevelOf("&gt; :-)"));
  EXPECT_EQ("q2", LevelOf("::x"));
  EXPECT_EQ("q1", LevelOf(": text"));
}

TEST(QuoteDepth, LevelsWrapAroundTheStyleCount) {
  std::string eight;
  for (int i = 0; i < 8; ++i) eight += "&gt;";
  EXPECT_EQ("q1", LevelOf(eight + " deep"));
  // Depths 1 and 8 in a row are still a change of depth.
  EXPECT_EQ("</span><span class=q1>&gt; a<BR></span><span class=q1>" + eight + " b",
            Coloured("&gt; a<BR>" + eight + " b"));
  // No count below 1 divides by zero.
  EXPECT_EQ("q0", LevelOf("&gt; a", 0));
  EXPECT_EQ("q0", LevelOf("&gt; a", -3));
}

TEST(ColourQuoteLevels, OpensASpanAtEachChangeOfDepth) {
  EXPECT_EQ(
      "own<BR></span><span class=q1>&gt; one<BR></span><span class=q2>&gt; &gt; two<BR>"
      "</span><span class=q0>back",
      Coloured("own<BR>&gt; one<BR>&gt; &gt; two<BR>back"));
  EXPECT_EQ("plain<BR>text", Coloured("plain<BR>text"));
  EXPECT_EQ("", Coloured(""));
}

TEST(ColourQuoteLevels, StartsAfterALeadingDiv) {
  EXPECT_EQ("<DIV></span><span class=q1>&gt; a</DIV>", Coloured("<DIV>&gt; a</DIV>"));
  EXPECT_EQ("<DIV>", Coloured("<DIV>"));
}

TEST(ColourQuoteLevels, MarksASignatureUntilAnEmptyLine) {
  EXPECT_EQ("text<BR></span><span class=sig>-- <BR>Ann<BR></span><BR>after",
            Coloured("text<BR>-- <BR>Ann<BR><BR>after"));
  EXPECT_EQ("x<BR></span><span class=sig>--<BR>Ann", Coloured("x<BR>--<BR>Ann"));
  // A longer line is no separator; a depth change ends the signature.
  EXPECT_EQ("x<BR>-- Ann", Coloured("x<BR>-- Ann"));
  EXPECT_EQ("x<BR></span><span class=sig>-- <BR></span><span class=q1>&gt; q", Coloured("x<BR>-- <BR>&gt; q"));
}

TEST(ColourQuoteLevels, GivesLinksTheClassOfTheirLine) {
  EXPECT_EQ(
      "</span><span class=q1>&gt; see <A class=1 href=\"http://x.org/\">http://x.org/</A> now<BR>"
      "</span><span class=q0>plain",
      Coloured("&gt; see <A href=\"http://x.org/\">http://x.org/</A> now<BR>plain"));
  EXPECT_EQ("x<BR></span><span class=sig>-- <BR><A class=sig href=\"http://a.b/\">home</A> page",
            Coloured("x<BR>-- <BR><A href=\"http://a.b/\">home</A> page"));
}

TEST(RestoreLinks, PutsEachAnchorAroundTheNextOccurrenceOfItsAddress) {
  const std::string old =
      "text <A href=\"http://a.com/x?a=1&amp;b=2\">http://a.com/x?a=1&amp;b=2</A> and "
      "<A href=\"mailto:bob@x.org\">bob@x.org</A>";
  std::string rebuilt = "text http://a.com/x?a=1&b=2 and bob@x.org";
  RestoreLinks(old, rebuilt);
  EXPECT_EQ(
      "text <A href=\"http://a.com/x?a=1&amp;b=2\">http://a.com/x?a=1&b=2</A> and "
      "<A href=\"mailto:bob@x.org\">bob@x.org</A>",
      rebuilt);
}

TEST(RestoreLinks, RepeatedAddressesAreMatchedInTurn) {
  const std::string old = "<A href=\"http://u/\">1</A> <A href=\"http://u/\">2</A>";
  std::string rebuilt = "http://u/ and http://u/";
  RestoreLinks(old, rebuilt);
  EXPECT_EQ("<A href=\"http://u/\">http://u/</A> and <A href=\"http://u/\">http://u/</A>", rebuilt);
}

TEST(RestoreLinks, SkipsAnchorsWithoutAnAddressAndAddressesNotFound) {
  std::string rebuilt = "abc def";
  RestoreLinks("<A name=x>anchor</A> <A> <A href=\"http://gone/\">x</A> <A", rebuilt);
  EXPECT_EQ("abc def", rebuilt);
  RestoreLinks("<A href=\"", rebuilt);
  EXPECT_EQ("abc def", rebuilt);
}

TEST(EscapeRebuiltText, KeepsBlanksAndEscapesBrackets) {
  std::string text = "a\n b  c\n<x> & y\na   b";
  EscapeRebuiltText(text);
  EXPECT_EQ("a<BR>&nbsp;b &nbsp;c<BR>&lt;x&gt; & y<BR>a &nbsp; b", text);
}

TEST(HtmlTests, RichAndQuotedHtmlAreRecognisedCaseSensitively) {
  for (const char* rich : {"a<FONT size=2>b", "<P>x", "<IMG src=x>", "<I>x</I>", "<B>x</B>"})
    EXPECT_TRUE(IsRichHtml(rich)) << rich;
  for (const char* plain : {"<b>x</b>", "<FONT>", "<PRE>", "<BR>", ""}) EXPECT_FALSE(IsRichHtml(plain)) << plain;
  EXPECT_TRUE(IsQuotedHtml("x<BLOCKQUOTE dir=ltr>"));
  EXPECT_TRUE(IsQuotedHtml("<DIV style=\"FONT: 10pt arial\">"));
  EXPECT_FALSE(IsQuotedHtml("<blockquote>"));
  EXPECT_FALSE(IsQuotedHtml("<DIV style=\"font: 10pt\">"));
}

class ColourHtml : public ::testing::Test {
protected:
  void SetUp() override {
    ResetSettings(settings);
    settings.compressedIndentation = 1;
    settings.quoteChar = '>';
  }
  int Run(const std::string& html, const std::string& text, ColourMode mode = ColourMode::view, bool textRead = true) {
    result = "<unset>";
    return ColourHtmlText(html, text, textRead, mode, 7, settings, result);
  }
  Settings settings;
  std::string result;
};

TEST_F(ColourHtml, MarksAndColoursAPlainMessage) {
  EXPECT_EQ(0, Run("hi<BR>&gt; q", ""));
  EXPECT_EQ("<SPAN class=KV-MARK>hi<BR></span><span class=q1>&gt; q", result);
}

TEST_F(ColourHtml, LeavesMarkedRichAndEmptyHtmlAlone) {
  EXPECT_EQ(1, Run("<SPAN class=KV-MARK>hi", ""));
  EXPECT_EQ(1, Run("hi <B>bold</B>", ""));
  EXPECT_EQ(-1, Run("", ""));
  EXPECT_EQ("<unset>", result);
}

TEST_F(ColourHtml, RebuildsTheQuotesThroughTheEngine) {
  settings.reformatHtml = 1;
  EXPECT_EQ(0, Run("hi<BR>&gt; &gt; a<BR>&gt; b", "hi\r\n> > a\r\n> b"));
  EXPECT_EQ("<SPAN class=KV-MARK>hi<BR></span><span class=q2>&gt;&gt; a<BR></span><span class=q1>&gt; b", result);

  settings.coloring = 0;
  EXPECT_EQ(0, Run("hi<BR>&gt; &gt; a<BR>&gt; b", "hi\r\n> > a\r\n> b"));
  EXPECT_EQ("<SPAN class=KV-MARK>hi<BR>&gt;&gt; a<BR>&gt; b", result);
}

TEST_F(ColourHtml, TheRebuildKeepsTheLinks) {
  settings.reformatHtml = 1;
  EXPECT_EQ(0, Run("see <A href=\"http://x.org/\">http://x.org/</A> now", "see http://x.org/ now"));
  EXPECT_EQ("<SPAN class=KV-MARK>see <A class=0 href=\"http://x.org/\">http://x.org/</A> now", result);
}

TEST_F(ColourHtml, NeverBlanksAMessageWhoseTextIsMissing) {
  settings.reformatHtml = 1;
  EXPECT_EQ(-1, Run("hi<BR>&gt; q", ""));
  EXPECT_EQ(-1, Run("hi<BR>&gt; q", "hi", ColourMode::view, false));
  EXPECT_EQ("<unset>", result);
}

TEST_F(ColourHtml, CompositionModeColoursWithoutRebuildingWhateverTheOptions) {
  settings.reformatHtml = 1;
  settings.coloring = 0;
  EXPECT_EQ(0, Run("hi<BR>&gt; q", "", ColourMode::composition));
  EXPECT_EQ("<SPAN class=KV-MARK>hi<BR></span><span class=q1>&gt; q", result);
}

TEST(ReplaceAll, NeverRescansWhatItPutIn) {
  std::string text = "aaa";
  EXPECT_EQ(3, ReplaceAll(text, "a", "aa"));
  EXPECT_EQ("aaaaaa", text);
  text = "    ";
  EXPECT_EQ(2, ReplaceAll(text, "  ", " &nbsp;"));
  EXPECT_EQ(" &nbsp; &nbsp;", text);
}

}  // namespace
