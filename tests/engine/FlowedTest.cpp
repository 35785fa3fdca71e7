// format=flowed: reading soft line breaks, and writing text that reads back
// as the same paragraphs.
#include <gtest/gtest.h>

#include <string>

#include "engine/mail/Flowed.h"
#include "engine/ReplyFormatter.h"
#include "tests/engine/TestText.h"

namespace {

std::string Requote(const std::string& flowed, int column, bool delSp = false) {
  Settings settings = DefaultSettings();
  settings.wrapColumn = column;
  TextForm form;
  form.flowed = true;
  form.delSp = delSp;
  ReplyFormatter formatter(settings, form);
  formatter.SplitLines(DecodeFlowed(flowed, delSp));
  formatter.MeasureQuoteDepth();
  std::string out;
  formatter.RenderReply(out);
  return out;
}

std::string TrimLineEnds(const std::string& text) {
  std::string out;
  for (const std::string& line : OutputLines(text)) {
    if (!out.empty()) out += '\n';
    out += line.substr(0, line.find_last_not_of(' ') + 1);
  }
  return out;
}

TEST(DecodeFlowed, JoinsSoftBreaksAndReadsQuoteMarks) {
  struct Case {
    const char* flowed;
    bool delSp;
    const char* decoded;
  };
  const Case cases[] = {
      // Soft breaks join; a hard break ends the paragraph.
      {"one two \r\nthree\r\nfour", false, "one two three\nfour"},
      // Space-stuffing is undone, and put back where the text needs it.
      {" >not a quote\n  indented\n From here", false, " >not a quote\n  indented\nFrom here"},
      // The depth is the count of '>'; the blank after them is stuffing, so
      // "> >" is depth 1 with text beginning with '>'.
      {">>deep \n>>text\n> > one", false, ">> deep text\n> > one"},
      // A soft break before a change of depth, or at the end, is hard.
      {"> a \n>> b \n", false, "> a \n>> b \n"},
      // The signature separator is never soft.
      {"-- \nBob", false, "-- \nBob"},
      // DelSp=yes: the blank of a soft break is deleted.
      {"\xE6\x97\xA5\xE6\x9C\xAC \n\xE8\xAA\x9E", true, "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E"},
  };
  for (const Case& c : cases) EXPECT_EQ(DecodeFlowed(c.flowed, c.delSp), c.decoded) << c.flowed;
}

// Paragraphs of several depths, a quoted empty line, space-stuffed lines, a
// signature; the last two take the shapes of RFC 3676's own examples: three
// flowed paragraphs, then a reply quoting six levels deep whose first line
// ends soft just before the depth changes (a hard break all the same).
const char* const kFlowedTexts[] = {
    "Hello, this is a paragraph that is long enough to be broken more than once "
    "when it is written at a narrow column.\r\n"
    "\r\n"
    ">Take a look at the new 'format=flowed' draft. It makes \r\n"
    ">lines wrap properly.\r\n"
    ">\r\n"
    ">>The original message said so, at some length, and with a very-long-hyphenated-word-here "
    "that does not fit.\r\n"
    " From the look of it, this line starts with From and is stuffed.\r\n"
    " >and this one with a quote mark\r\n"
    "-- \r\n"
    "Bob",
    ">>>Exit, pursued by a bear. \r\n>>>The end.\r\n>>\r\n>>Is that all? \r\n>>\r\n>Yes.",
    "`Take some more tea,' the March Hare said to Alice, very \r\nearnestly.\r\n\r\n"
    "`I've had nothing yet,' Alice replied in an offended tone, `so I \r\ncan't take more.'\r\n\r\n"
    "`You mean you can't take LESS,' said the Hatter: `it's very easy \r\nto take MORE than nothing.'",
    ">Thou villainous ill-breeding spongy dizzy-eyed \r\n>reeky elf-skinned pigeon-egg! \r\n"
    ">>Thou artless swag-bellied milk-livered \r\n>>dismal-dreaming idle-headed scut!\r\n"
    ">>>Thou errant folly-fallen spleeny reeling-ripe \r\n>>>unmuzzled ratsbane!\r\n"
    ">>>>Henceforth, the coding style is to be strictly \r\n>>>>enforced, including the use of only upper case.\r\n"
    ">>>>>I've noticed a lack of adherence to the coding \r\n>>>>>styles, of late.\r\n"
    ">>>>>>Any complaints?",
};

TEST(FlowedRoundTrip, OutputReadsBackAsTheInputsParagraphs) {
  // Only the own signature separator gets its blank back; a quoted "--" is
  // the sender's text.
  EXPECT_EQ(Requote("-- \r\nBob\r\n\r\n>--\r\n>x", 72), "-- \nBob\n\n> --\n> x");
  for (const char* text : kFlowedTexts) {
    for (const int column : {20, 30, 72}) {
      for (const bool delSp : {false, true}) {
        const std::string out = Requote(text, column, delSp);
        // Blanks at the end of a paragraph are not kept (lines are trimmed).
        EXPECT_EQ(TrimLineEnds(DecodeFlowed(out, delSp)), TrimLineEnds(DecodeFlowed(text, delSp))) << column << "\n"
                                                                                                   << out;
        // Breaks only at blanks, within the column unless a word is longer,
        // and no hard line ends in a blank but the signature separator.
        std::size_t pos = 0;
        while (pos <= out.size()) {
          std::size_t lf = out.find('\n', pos);
          if (lf == std::string::npos) lf = out.size();
          const std::string line = out.substr(pos, lf - pos);
          // A line over the column holds one word alone.
          std::size_t first = line.find_first_not_of('>');
          if (first != std::string::npos && first > 0) ++first;
          const std::size_t last = line.find_last_not_of(' ');
          if (first != std::string::npos && last != std::string::npos && last > first &&
              line.substr(first, last - first).find(' ') != std::string::npos) {
            EXPECT_LE(static_cast<int>(line.size()), column) << line;
          }
          if (line[0] == '>') {
            const std::size_t marks = line.find_first_not_of('>');
            EXPECT_TRUE(marks == std::string::npos || line[marks] == ' ') << line;
          }
          pos = lf + 1;
        }
      }
    }
  }
}

TEST(FlowedReply, DraftKeepsDepthsAndWritesSoftBreaks) {
  Settings settings = DefaultSettings();
  settings.wrapColumn = 30;
  TextForm form;
  form.flowed = true;
  form.mailDraft = true;
  const std::string draft =
      "On Mon, 3 Mar 2003, Ann Lee wrote:\n>> deeper text that is quoted twice \n>> here\n> answer\n\nMine.\n";
  std::string body = DecodeFlowed(draft, false);
  ReplyFormatter formatter(settings, form);
  int cursor = 0;
  EXPECT_EQ(formatter.ReformatReply(body, cursor), kReformatDone);
  EXPECT_EQ(body, "Ann Lee wrote:\n>> deeper text that is quoted \n>> twice here\n> answer\n\nMine.");
}

}  // namespace
