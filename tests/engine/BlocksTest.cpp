// Today's mail as blocks: which lines keep their shape, how list items and
// prose are filled around them, and that nothing reaches across a block.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "engine/QuotedTextRequoter.h"
#include "engine/mail/Blocks.h"
#include "engine/mail/Flowed.h"
#include "tests/engine/TestText.h"

namespace {

TextForm TodaysMail(bool draft = false) {
  TextForm form;
  form.mailDraft = draft;
  form.todaysMail = true;
  return form;
}

std::string Requote(const std::string& text, int column, const TextForm& form = TodaysMail()) {
  Settings settings = DefaultSettings();
  settings.wrapColumn = column;
  std::string out = text;
  RequoteText(out, settings, form);
  return out;
}

// One letter per line: E empty, P prose, K kept, I item, M item continued.
std::string Kinds(const Lines& lines, const std::vector<int32_t>& depths) {
  std::vector<LineBlock> blocks;
  ClassifyLines(lines, depths, blocks);
  std::string kinds;
  for (const LineBlock& block : blocks) kinds += "EPKIM"[static_cast<int>(block.kind)];
  return kinds;
}

TEST(ClassifyLines, RecognisesTheShapesOfPatchMail) {
  struct Case {
    Lines lines;
    const char* kinds;
  };
  const Case cases[] = {
      // A patch: header, file lines, a hunk that runs as its counts say
      // (empty context lines included), "\ No newline", then prose again.
      {{"diff --git a/f.c b/f.c", "new file mode 100644", "index 1a2b3c4..5d6e7f8 100644", "--- a/f.c", "+++ b/f.c",
        "@@ -1,3 +1,3 @@ static int f(void)", " a", "", "-b", "+c", "\\ No newline at end of file", "- a list item"},
       "KKKKKKKEKKKI"},
      // The hunk ends early at a line that cannot be one of its lines.
      {{"@@ -1,9 +1,9 @@", "+x", "[...]", "+1 for this"}, "KKPP"},
      // Outside a hunk "- " begins a list item and "--- " is prose unless a
      // "+++ " follows; "-1" and "+1" are prose.
      {{"- item", "--- not a file line", "-1", "+1", "---", "-- "}, "IPPPKK"},
      {{" src/file.c | 19 +++++++------", " a/{b => c}/d.c | 2 +-", " img.png | Bin 0 -> 12 bytes",
        " 3 files changed, 10 insertions(+), 2 deletions(-)", " 1 file changed", "a b | 3 ++", "x | 3 is less"},
       "KKKKKPP"},
      {{"Signed-off-by: Ann Lee <ann@example.org>", "Co-developed-by: B <b@x>", "Cc: c@x", "Fixes: 1234abcd (\"x\")",
        "Link: https://x/y", "Note: not a trailer", "Signed-off-by:"},
       "KKKKKPP"},
      {{"| Name | Size |", "|------|------|", "+----+----+", "| a", "+ item", "=====", "_"}, "KKKPIKP"},
      {{"\tcode();", "    code();", "   three blanks", "x"}, "KKPP"},
      // Items and their indented continuation lines; a deeper indentation is
      // code, an unindented line prose again.
      {{"1. first", "   more of it", "2) second", "a) third", "  - nested", "    deeper", "       code", "prose"},
       "IMIIIMKP"},
      {{"12345. no", "-x", "* ", "*  *", "ab) no"}, "PPPIP"},
  };
  for (const Case& c : cases) {
    const std::vector<int32_t> depths(c.lines.size(), 1);
    EXPECT_EQ(Kinds(c.lines, depths), c.kinds) << c.lines[0];
  }
  // A reviewer's comment at another depth interrupts a quoted hunk, which
  // goes on below it; a line of the hunk's depth that cannot be in a hunk
  // ends it.
  EXPECT_EQ(Kinds({"@@ -1,5 +1,5 @@", " a", "Why?", "-b", "+c", "Done.", "-d"}, {1, 1, 0, 1, 1, 1, 1}), "KKPKKPP");
}

TEST(RenderBlocks, StructuredLinesKeepTheirLineAndOverflowNeverCrossesABlock) {
  struct Case {
    const char* in;
    const char* out;
  };
  // Column 30.
  const Case cases[] = {
      // Prose fills as the Windows rules do, breaking at blanks only: no
      // break after a hyphen, a token wider than the room stays whole.
      {"> aaaa bbbb cccc dddd well-known eeee ffff", "> aaaa bbbb cccc dddd\n> well-known eeee ffff "},
      {"> see https://example.com/a-long-path/segment and more",
       "> see\n> https://example.com/a-long-path/segment\n> and more "},
      {"> smile :-) and x->y or --with-ssl or -1 always", "> smile :-) and x->y or\n> --with-ssl or -1 always "},
      // No line begins with '>' after a break: it would read one level deeper.
      {"> if a is at least bbbbbbbbb > c then", "> if a is at least\n> bbbbbbbbb > c then "},
      // The paragraph ends before a kept line; the kept line stays long.
      {"> aaaa bbbb cccc dddd eeee ffff gggg\n>     sb = SB(file->f_path.dentry->d_sb);\n> @@ -1 +1 @@\n> +\tx = 1; y",
       "> aaaa bbbb cccc dddd eeee\n> ffff gggg \n>     sb = SB(file->f_path.dentry->d_sb);\n> @@ -1 +1 @@\n"
       "> +\tx = 1; y"},
      // List items wrap inside themselves, indented to their text; the
      // overflow of the line above never flows into an item.
      {"> aaaa bbbb cccc dddd eeee ffff\n> - a working build that is long\n>   and more\n> 2. make",
       "> aaaa bbbb cccc dddd eeee\n> ffff \n> - a working build that is\n>   long and more\n> 2. make"},
      {">> 10. aaaa bbbb cccc dddd eeee\n>> next paragraph",
       ">> 10. aaaa bbbb cccc dddd\n>>     eeee \n>> next paragraph"},
  };
  for (const Case& c : cases) EXPECT_EQ(Requote(c.in, 30), c.out) << c.in;
  // In a draft a '|' is text, and a table row keeps its line.
  const std::string table = "> | Name | Size | Something longer |\n> Signed-off-by: Ann Lee <ann.lee@example.org>";
  EXPECT_EQ(Requote(table, 30, TodaysMail(true)), table);
  // Without today's mail rules the same text is wrapped as the Windows
  // program wraps it.
  EXPECT_EQ(Requote("> aaaa bbbb cccc dddd well-known eeee", 30, TextForm()),
            "> aaaa bbbb cccc dddd well-\n> known eeee ");
}

TEST(RenderBlocks, BrokenQuotesAreJoinedOnlyBetweenProseLines) {
  const std::string long40(40, 'a');
  // A comb-broken prose line is joined back; a broken hunk line, and a list
  // item that follows a deep line, keep their place.
  EXPECT_EQ(Requote(">> " + long40 + " bbbbbbbbbbbbbbbbbbbbbbb\n> cccccccccc\n>> dd", 80),
            ">> " + long40 + " bbbbbbbbbbbbbbbbbbbbbbb cccccccccc\n>> dd");
  const std::string hunk = ">> @@ -1,2 +1,2 @@\n>> +" + long40 + " bbbbbbbbbbbbbbbbbbbbbbb\n> cccccccccc\n>> +dd";
  EXPECT_EQ(Requote(hunk, 80), hunk);
  const std::string item = ">> " + long40 + " bbbbbbbbbbbbbbbbbbbbbbb\n> - cccccccccc\n>> dd";
  EXPECT_EQ(Requote(item, 80), item);
}

TEST(RenderBlocks, DraftsReadOnlyGreaterThanAsAQuoteMark) {
  Settings settings = DefaultSettings();
  ReplyFormatter formatter(settings, TodaysMail(true));
  formatter.SplitLines("| Name | Size |\r\n: text\r\n> > quoted\r\n>| deeper");
  formatter.MeasureQuoteDepth();
  EXPECT_EQ(formatter.depths, (std::vector<int32_t>{0, 0, 2, 1}));
  EXPECT_EQ(formatter.lines, (Lines{"| Name | Size |", ": text", "quoted", "| deeper"}));
}

TEST(RenderBlocks, FlowedTextNeverBreaksAKeptLine) {
  Settings settings = DefaultSettings();
  settings.wrapColumn = 20;
  TextForm form = TodaysMail();
  form.flowed = true;
  ReplyFormatter formatter(settings, form);
  formatter.SplitLines(
      DecodeFlowed("> aaaa bbbb cccc dddd eeee\r\n>     code(a, b, c, d, e, f);\r\n"
                   "> - item aaaa bbbb cccc",
                   false));
  formatter.MeasureQuoteDepth();
  std::string out;
  formatter.RenderReply(out);
  EXPECT_EQ(out, "> aaaa bbbb cccc \n> dddd eeee\n>     code(a, b, c, d, e, f);\n> - item aaaa bbbb \n> cccc");
}

TEST(RenderBlocks, PiecesOfAPatchGiveTheSameBytesAsTheWholeText) {
  // Hunks reach across quote-only lines, so the requoter must not end a
  // piece inside one.
  static const char* const kLines[] = {"> @@ -1,9 +1,9 @@",
                                       "> + item",
                                       ">",
                                       "> - b",
                                       "> - item two",
                                       "> x y z w",
                                       "> >",
                                       "> text text text text text text text text text",
                                       ">> deep"};
  std::mt19937 rng(5);
  Settings settings = DefaultSettings();
  settings.wrapColumn = 20;
  for (int round = 0; round < 200; ++round) {
    std::string text;
    const int count = static_cast<int>(rng() % 40);
    for (int i = 0; i < count; ++i) text += std::string(kLines[rng() % 9]) + "\n";
    std::string whole = text;
    RequoteText(whole, settings, TodaysMail());
    QuotedTextRequoter requoter(settings, 1, TodaysMail(), false);
    std::string pieces;
    requoter.Write(text.data(), text.size(), pieces);
    requoter.Finish(pieces);
    ASSERT_EQ(pieces, whole) << text;
  }
}

}  // namespace
