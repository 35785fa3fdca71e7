// Finding the attribution header, reading the sender, replacing the header.
#include <gtest/gtest.h>

#include <cstring>

#include "TestText.h"

namespace {

struct HeaderFixture {
  Settings settings = DefaultSettings();
  ReplyFormatter formatter{settings};
  explicit HeaderFixture(const Lines& lines) {
    formatter.lines = lines;
    formatter.quoted.assign(lines.size(), 1);
  }
};

Lines FiveMore(const Lines& first) {
  Lines lines = first;
  for (int i = 0; i < 5; ++i) lines.push_back("line " + std::to_string(i));
  return lines;
}

TEST(FindHeader, SeparatorForms) {
  const struct {
    const char* line;
    bool header;
  } cases[] = {{"----- Message -----", true}, {"------------", false}, {"-----x-----", true}, {"-----x", false},
               {"----------", false},         {"-----  -----", true}};
  for (const auto& c : cases) {
    HeaderFixture t(FiveMore({"", c.line}));
    int h = -1;
    HeaderForm form = HeaderForm::kNone;
    EXPECT_EQ(t.formatter.FindHeader(h, form), c.header) << c.line;
    if (c.header) {
      EXPECT_EQ(h, 1);
      EXPECT_EQ(form, HeaderForm::kSeparator);
    }
  }
}

TEST(FindHeader, SeparatorNeedsFiveLinesBelowIt) {
  HeaderFixture t({"", "----- Message -----", "a", "b", "c", "d"});
  int h = -1;
  HeaderForm form = HeaderForm::kNone;
  EXPECT_FALSE(t.formatter.FindHeader(h, form));
}

TEST(FindHeader, NewsLineAtDepthZeroOnlyAndNeverLineZero) {
  const std::string news = "\"Ann Lee\" <ann.lee> wrote in message news:abc.def...";
  int h = -1;
  HeaderForm form = HeaderForm::kNone;
  HeaderFixture plain({"", news});
  EXPECT_TRUE(plain.formatter.FindHeader(h, form));
  EXPECT_EQ(h, 1);
  EXPECT_EQ(form, HeaderForm::kNews);
  HeaderFixture quotedNews({"", "> " + news});
  EXPECT_FALSE(quotedNews.formatter.FindHeader(h, form));
  HeaderFixture lineZero({news, "x"});
  EXPECT_FALSE(lineZero.formatter.FindHeader(h, form));
  HeaderFixture tooShort({"", "news:..."});
  EXPECT_TRUE(tooShort.formatter.FindHeader(h, form));
  HeaderFixture noDots({"", "news:abc.."});
  EXPECT_FALSE(noDots.formatter.FindHeader(h, form));
}

TEST(ParseSender, NameAndAddress) {
  Sender s;
  ASSERT_TRUE(ReplyFormatter::ParseSender(" \"Ann Lee\" <ann.lee>", s));
  EXPECT_EQ(s.name, "Ann Lee");
  EXPECT_EQ(s.mail, "ann.lee");
  EXPECT_FALSE(s.nameIsMail);

  ASSERT_TRUE(ReplyFormatter::ParseSender(" <ann.lee>", s));
  EXPECT_EQ(s.name, "ann.lee");
  EXPECT_TRUE(s.nameIsMail);

  ASSERT_TRUE(ReplyFormatter::ParseSender(" Ann Lee <ann.lee>", s));
  EXPECT_EQ(s.name, "ann.lee");
  EXPECT_TRUE(s.nameIsMail);

  // One double quote only: the name ends at it.
  ASSERT_TRUE(ReplyFormatter::ParseSender(" \"Ann\" Lee\" <a>", s));
  EXPECT_EQ(s.name, "Ann");
  ASSERT_TRUE(ReplyFormatter::ParseSender("  Ann Lee\" <a>", s));
  EXPECT_EQ(s.name, "Ann Lee");
  EXPECT_FALSE(s.nameIsMail);
}

TEST(ParseSender, MissingOrMisorderedBracketsFail) {
  Sender s;
  s.name = "kept";
  EXPECT_FALSE(ReplyFormatter::ParseSender(" Ann Lee", s));
  EXPECT_FALSE(ReplyFormatter::ParseSender(" >x<", s));
  EXPECT_FALSE(ReplyFormatter::ParseSender("<only", s));
  EXPECT_EQ(s.name, "kept");
}

TEST(ComposeAttribution, EveryStyle) {
  Settings settings = DefaultSettings();
  ReplyFormatter f(settings);
  settings.headerStyle = kHeaderStyleShort;
  EXPECT_EQ(f.ComposeAttribution("Ann Lee", "ann.lee", false), "Ann Lee wrote:");
  settings.headerStyle = kHeaderStyleShortMail;
  EXPECT_EQ(f.ComposeAttribution("Ann Lee", "ann.lee", false), "Ann Lee <ann.lee> wrote:");
  EXPECT_EQ(f.ComposeAttribution("ann.lee", "ann.lee", true), "ann.lee wrote:");
  settings.headerStyle = kHeaderStyleCustom;
  EXPECT_EQ(f.ComposeAttribution("Ann Lee", "ann.lee", false), "Ann Lee <ann.lee> scribbled:\n");
  // Replacements run in order over the whole text.
  EXPECT_EQ(f.ComposeAttribution("%m%n", "M", false), "M%n <M> scribbled:\n");
  for (int32_t other : {int32_t{kHeaderStyleOE}, int32_t{kHeaderStyleNone}, int32_t{5}, int32_t{-1}}) {
    settings.headerStyle = other;
    EXPECT_EQ(f.ComposeAttribution("Ann", "a", false), "");
  }
}

TEST(IsValidCustomHeader, RefusesTemplatesThatLookLikeAHeader) {
  EXPECT_FALSE(ReplyFormatter::IsValidCustomHeader("-----x-----"));
  EXPECT_FALSE(ReplyFormatter::IsValidCustomHeader("\"%n\" wrote in news:"));
  EXPECT_FALSE(ReplyFormatter::IsValidCustomHeader("<%m> news: says"));
  EXPECT_TRUE(ReplyFormatter::IsValidCustomHeader("%n wrote:"));
  EXPECT_TRUE(ReplyFormatter::IsValidCustomHeader("%n wrote in news:"));
  EXPECT_TRUE(ReplyFormatter::IsValidCustomHeader(""));
}

const Lines kBlock = {"own", "----- Message -----", "From: \"Ann\" <ann>", "To: b", "Sent: c", "Subject: d", ""};

TEST(ReplaceHeader, OEKeepsTheBlockUpToItsEmptyLine) {
  HeaderFixture t(kBlock);
  t.formatter.lines.push_back("");
  t.formatter.lines.push_back("> q");
  t.formatter.quoted.assign(t.formatter.lines.size(), 1);
  t.settings.headerStyle = kHeaderStyleOE;
  EXPECT_EQ(t.formatter.ReplaceHeader(1, HeaderForm::kSeparator), 6);
  EXPECT_EQ(t.formatter.lines,
            (Lines{"own", "---- Message ----", "From: \"Ann\" <ann>", "To: b", "Sent: c", "Subject: d", "", "> q"}));
}

TEST(ReplaceHeader, OEWithoutEmptyLineStaysInsideTheList) {
  HeaderFixture t({"own", "----- Message -----", "From: x", "To: b", "Sent: c", "Subject: d"});
  t.settings.headerStyle = kHeaderStyleOE;
  const int end = t.formatter.ReplaceHeader(1, HeaderForm::kSeparator);
  EXPECT_EQ(end, 5);
  EXPECT_EQ(t.formatter.lines.size(), 6u);
}

TEST(ReplaceHeader, ComposedHeaderRemovesTheBlockAndOneEmptyLine) {
  HeaderFixture t(
      {"own", "----- Message -----", "From: \"Ann\" <ann>", "To: b", "Sent: c", "Subject: d", "", "", "> q"});
  EXPECT_EQ(t.formatter.ReplaceHeader(1, HeaderForm::kSeparator), 1);
  EXPECT_EQ(t.formatter.lines, (Lines{"own", "Ann wrote:", "> q"}));
  EXPECT_EQ(t.formatter.quoted.size(), 3u);
}

TEST(ReplaceHeader, BlockOfSixWhenTheSeventhLineHoldsText) {
  HeaderFixture t(
      {"own", "----- Message -----", "From: \"Ann\" <ann>", "To: b", "Sent: c", "Subject: d", "Cc: e", "> q"});
  EXPECT_EQ(t.formatter.ReplaceHeader(1, HeaderForm::kSeparator), 1);
  EXPECT_EQ(t.formatter.lines, (Lines{"own", "Ann wrote:", "> q"}));
}

// A block without the empty line after its fields ends after the fourth
// field unless the next line has the form of a field itself; the first quoted
// line used to go with the block.
TEST(ReplaceHeader, BlockWithoutEmptyLineKeepsTheFirstQuotedLine) {
  const Lines fields = {"own", "----- Message -----", "From: \"Ann\" <ann>", "To: b", "Sent: c", "Subject: d"};
  struct Case {
    Lines after;
    Lines kept;
  };
  const Case cases[] = {
      {{"> first", "> second"}, {"own", "Ann wrote:", "> first", "> second"}},
      {{"plain", "> q"}, {"own", "Ann wrote:", "plain", "> q"}},
      {{"Cc: e", "", "> q"}, {"own", "Ann wrote:", "> q"}},
      {{"Betreff: e", "> q"}, {"own", "Ann wrote:", "> q"}},
      {{"Objet : e", "> q"}, {"own", "Ann wrote:", "> q"}},
      {{"\xC3\x9C"
        "ber-Sicht: e",
        "> q"},
       {"own", "Ann wrote:", "> q"}},
      {{"I said: yes", "> q"}, {"own", "Ann wrote:", "I said: yes", "> q"}},
      {{":-)", "> q"}, {"own", "Ann wrote:", ":-)", "> q"}},
  };
  for (const Case& c : cases) {
    Lines lines = fields;
    lines.insert(lines.end(), c.after.begin(), c.after.end());
    HeaderFixture t(lines);
    EXPECT_EQ(t.formatter.ReplaceHeader(1, HeaderForm::kSeparator), 1) << c.after[0];
    EXPECT_EQ(t.formatter.lines, c.kept) << c.after[0];
    EXPECT_EQ(t.formatter.quoted.size(), t.formatter.lines.size());
  }
  // Removed as a whole ("none"), the block leaves the first quoted line too.
  HeaderFixture none({"own", "", "----- Message -----", "From: x", "To: b", "Sent: c", "Subject: d", "> q1", "> q2"});
  none.settings.headerStyle = kHeaderStyleNone;
  EXPECT_EQ(none.formatter.ReplaceHeader(2, HeaderForm::kSeparator), 0);
  EXPECT_EQ(none.formatter.lines, (Lines{"own", "> q1", "> q2"}));
}

TEST(ReplaceHeader, FromLineWithoutColonGivesAnEmptyName) {
  HeaderFixture t({"own", "----- Message -----", "Ann", "To: b", "Sent: c", "Subject: d", "", "> q"});
  EXPECT_EQ(t.formatter.ReplaceHeader(1, HeaderForm::kSeparator), 1);
  EXPECT_EQ(t.formatter.lines, (Lines{"own", " wrote:", "> q"}));
}

TEST(ReplaceHeader, RemovedBlockTakesTheEmptyLineAbove) {
  HeaderFixture t({"own", "", "----- Message -----", "From: x", "To: b", "Sent: c", "Subject: d", "", "> q"});
  t.settings.headerStyle = kHeaderStyleNone;
  HeaderChange change;
  EXPECT_EQ(t.formatter.ReplaceHeader(2, HeaderForm::kSeparator, &change), 0);
  EXPECT_EQ(t.formatter.lines, (Lines{"own", "> q"}));
  EXPECT_TRUE(change.headerRemoved);
  EXPECT_TRUE(change.blankAboveRemoved);
}

TEST(ReplaceHeader, RemovedBlockAtTheTopTakesTheEmptyLineBelow) {
  HeaderFixture t({"----- Message -----", "From: x", "To: b", "Sent: c", "Subject: d", "Cc: e", "", "> q"});
  t.settings.headerStyle = kHeaderStyleNone;
  EXPECT_EQ(t.formatter.ReplaceHeader(0, HeaderForm::kSeparator), -1);
  EXPECT_EQ(t.formatter.lines, (Lines{"> q"}));
}

TEST(ReplaceHeader, ShortBodiesNeverReachPastTheEnd) {
  for (int32_t style : {int32_t{kHeaderStyleShort}, int32_t{kHeaderStyleNone}, int32_t{kHeaderStyleCustom},
                        int32_t{kHeaderStyleOE}, int32_t{9}}) {
    HeaderFixture t({"----- Message -----", "From: \"Ann\" <ann>", "To: b", "Sent: c", "Subject: d", ""});
    t.settings.headerStyle = style;
    const int end = t.formatter.ReplaceHeader(0, HeaderForm::kSeparator);
    EXPECT_GE(end, -1);
    EXPECT_LT(end, static_cast<int>(t.formatter.lines.size()) + 1);
    EXPECT_EQ(t.formatter.lines.size(), t.formatter.quoted.size());
  }
}

TEST(ReplaceHeader, NewsLine) {
  const std::string news = "\"Ann\" <ann> wrote in news:a.b...";
  HeaderFixture oe({"x", news});
  oe.settings.headerStyle = kHeaderStyleOE;
  EXPECT_EQ(oe.formatter.ReplaceHeader(1, HeaderForm::kNews), 1);
  EXPECT_EQ(oe.formatter.lines[1], "\"Ann\" <ann> wrote in news:a.b");

  HeaderFixture shortMail({"x", news});
  shortMail.settings.headerStyle = kHeaderStyleShortMail;
  EXPECT_EQ(shortMail.formatter.ReplaceHeader(1, HeaderForm::kNews), 1);
  EXPECT_EQ(shortMail.formatter.lines[1], "Ann <ann> wrote:");

  HeaderFixture none({"x", news, "> q"});
  none.settings.headerStyle = kHeaderStyleNone;
  EXPECT_EQ(none.formatter.ReplaceHeader(1, HeaderForm::kNews), 0);
  EXPECT_EQ(none.formatter.lines, (Lines{"x", "> q"}));
}

}  // namespace
