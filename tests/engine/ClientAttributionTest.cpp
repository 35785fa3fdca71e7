// The attribution lines of today's mail clients and the drafts they hand to
// an editor.
#include <gtest/gtest.h>

#include <string>

#include "engine/ReplyFormatter.h"
#include "tests/engine/TestText.h"

namespace {

TEST(ClientAttribution, EveryFormGivesItsSender) {
  struct Case {
    const char* line;
    const char* name;
    const char* mail;
  };
  const Case cases[] = {
      // mutt/neomutt "On %d, %n wrote:"
      {"On Mon, Mar 03, 2003 at 10:00:00AM +0100, Ann Lee wrote:", "Ann Lee", ""},
      // Thunderbird, with and without a date
      {"On 3/3/2003 10:00 AM, Ann Lee wrote:", "Ann Lee", ""},
      {"Ann Lee wrote:", "Ann Lee", ""},
      {"\"Lee, Ann\" <ann@example.com> wrote:", "Lee, Ann", "ann@example.com"},
      // Gmail: no comma before the sender
      {"On Mon, Mar 3, 2003 at 10:00 AM Ann Lee <ann@example.com> wrote:", "Ann Lee", "ann@example.com"},
      {"On Mon, Mar 3, 2003 at 10:00 AM <ann@example.com> wrote:", "ann@example.com", "ann@example.com"},
      // Apple Mail
      {"On Mar 3, 2003, at 10:00, Ann Lee <ann@example.com> wrote:", "Ann Lee", "ann@example.com"},
      {"On 3 Mar 2003, at 10:00, \"Lee, Ann\" <ann@example.com> wrote:", "Lee, Ann", "ann@example.com"},
      // German, French, Spanish
      {"Am 03.03.2003 um 10:00 schrieb Ann Lee:", "Ann Lee", ""},
      {"Am Mo., 3. M\xC3\xA4rz 2003 um 10:00 Uhr schrieb Ann Lee <ann@example.com>:", "Ann Lee", "ann@example.com"},
      {"Ann Lee <ann@example.com> schrieb:", "Ann Lee", "ann@example.com"},
      {"Le 3 mars 2003 \xC3\xA0 10:00, Ann Lee a \xC3\xA9"
       "crit :",
       "Ann Lee", ""},
      {"Le lun. 3 mars 2003 \xC3\xA0 10:00, Ann Lee <ann@example.com> a \xC3\xA9"
       "crit :",
       "Ann Lee", "ann@example.com"},
      {"El 3/3/03 a las 10:00, Ann Lee escribi\xC3\xB3:", "Ann Lee", ""},
      {"El lun, 3 mar 2003 a las 10:00, Ann Lee (<ann@example.com>) escribi\xC3\xB3:", "Ann Lee", "ann@example.com"},
  };
  for (const Case& c : cases) {
    Sender sender;
    ASSERT_TRUE(ReplyFormatter::ParseClientAttribution(c.line, sender)) << c.line;
    EXPECT_EQ(sender.name, c.name) << c.line;
    EXPECT_EQ(sender.mail, c.mail) << c.line;
  }
  Sender sender;
  for (const char* line : {"I wrote: nothing", "On Monday wrote:", "He said:", "> Ann Lee wrote"})
    EXPECT_FALSE(ReplyFormatter::ParseClientAttribution(line, sender)) << line;
}

TEST(ClientAttribution, MailboxGivesTheDisplayNameElseTheAddress) {
  struct Case {
    const char* text;
    const char* name;
    bool nameIsMail;
  };
  const Case cases[] = {{" Ann Lee <ann@example.com>", "Ann Lee", false},
                        {" \"Ann Lee\" <ann@example.com>", "Ann Lee", false},
                        {" <ann@example.com>", "ann@example.com", true},
                        {" ann@example.com", "ann@example.com", true},
                        {" Ann Lee [mailto:ann@example.com]", "Ann Lee", false}};
  for (const Case& c : cases) {
    Sender sender;
    ASSERT_TRUE(ReplyFormatter::ParseMailbox(c.text, sender)) << c.text;
    EXPECT_EQ(sender.name, c.name);
    EXPECT_EQ(sender.nameIsMail, c.nameIsMail);
  }
  Sender sender;
  EXPECT_FALSE(ReplyFormatter::ParseMailbox("  ", sender));
}

Reformatted Draft(const Settings& settings, const std::string& body) {
  TextForm form;
  form.mailDraft = true;
  ReplyFormatter formatter(settings, form);
  Reformatted r{0, 0, body};
  r.result = formatter.ReformatReply(r.body, r.cursorLines);
  return r;
}

TEST(MailDraft, QuoteKeepsItsDepthAndTheSignatureFollowsIt) {
  // mutt: attribution on the first line, an empty line below it, the own
  // signature below the quote, a final line end.
  const Reformatted mutt =
      Draft(DefaultSettings(), "On Mon, 3 Mar 2003, Ann Lee wrote:\n\n> text\n>> older\n\n-- \nBob\n");
  EXPECT_EQ(mutt.result, kReformatDone);
  EXPECT_EQ(mutt.body, "Ann Lee wrote:\n> text\n>> older\n\n-- \nBob");

  // The quoted signature goes, and the empty quoted line before it too.
  EXPECT_EQ(Draft(DefaultSettings(), "Ann Lee wrote:\n> text\n>\n> -- \n> Ann\n\n-- \nBob\n").body,
            "Ann Lee wrote:\n> text\n\n-- \nBob");

  // Top-posted with the own part kept on top: the signature still goes below
  // the quote.
  Settings top = DefaultSettings();
  top.moveSignatureToBottom = 0;
  const Reformatted topPosted = Draft(top, "Answer.\n\n-- \nBob\n\nOn Mon, 3 Mar 2003, Ann Lee wrote:\n> text\n");
  EXPECT_EQ(topPosted.body, "Answer.\n\nAnn Lee wrote:\n> text\n\n-- \nBob");

  // Moved to the bottom, the own part keeps an empty line off the quote.
  const Reformatted moved = Draft(DefaultSettings(), "Answer.\nOn Mon, 3 Mar 2003, Ann Lee wrote:\n> text\n");
  EXPECT_EQ(moved.body, "Ann Lee wrote:\n> text\n\nAnswer.");

  // Outlook's block, with a Cc field and an unprefixed quote.
  const Reformatted outlook =
      Draft(DefaultSettings(),
            "Mine.\n\n-----Original Message-----\nFrom: Ann Lee [mailto:ann@example.com]\nSent: Monday\nTo: Bob\n"
            "Cc: Carl\nSubject: x\n\nHello,\nthe text.\n");
  EXPECT_EQ(outlook.result, kReformatDeeper);
  EXPECT_EQ(outlook.body, "Ann Lee wrote:\n> Hello,\n> the text.\n\nMine.");

  // Outside mail mode the same mutt draft is left alone.
  const std::string plain = "On Mon, 3 Mar 2003, Ann Lee wrote:\n> text\n";
  EXPECT_EQ(Reformat(DefaultSettings(), plain).result, kReformatUnchanged);
  // A line that only looks like an attribution, with no quote below it, is none.
  EXPECT_EQ(Draft(DefaultSettings(), "Ann Lee wrote:\nno quote here\n").result, kReformatUnchanged);
}

}  // namespace
