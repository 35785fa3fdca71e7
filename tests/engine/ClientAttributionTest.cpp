// The attribution lines of today's mail clients and the drafts they hand to
// an editor.
#include <gtest/gtest.h>

#include <cstring>
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
      // A display name with commas: the date ends at its time of day, or
      // where its parts stop holding digits or weekdays.
      {"On 12/2/26 9:17 AM, Ortiz, Mark wrote:", "Ortiz, Mark", ""},
      {"On Wed, 2 Dec 2026, Ortiz, Mark wrote:", "Ortiz, Mark", ""},
      {"On Wed, Dec 2, 2026 at 9:17 AM Ortiz, Mark <mark@example.com> wrote:", "Ortiz, Mark", "mark@example.com"},
      {"On Wed, Dec 02, 2026 at 09:17:00AM +0100, Ortiz, Mark wrote:", "Ortiz, Mark", ""},
      {"Am Mi., 2. Dez. 2026 um 09:17 Uhr schrieb Ortiz, Mark <mark@example.com>:", "Ortiz, Mark", "mark@example.com"},
      // Thunderbird's three forms as its English, German, French and Spanish
      // texts have them (French puts a no-break space before the colon; a
      // time may have a narrow one before AM).
      {"On 12/7/26 10:15\xE2\x80\xAF"
       "AM, Ann Lee wrote:",
       "Ann Lee", ""},
      {"Ann Lee wrote on 12/7/26 10:15 AM:", "Ann Lee", ""},
      {"Ann Lee schrieb am 07.12.26 um 10:15:", "Ann Lee", ""},
      {"Le 07/12/2026 \xC3\xA0 10:15, Ann Lee a \xC3\xA9"
       "crit\xC2\xA0:",
       "Ann Lee", ""},
      {"Ann Lee a \xC3\xA9"
       "crit\xC2\xA0:",
       "Ann Lee", ""},
      {"Ann Lee a \xC3\xA9"
       "crit le 07/12/2026 \xC3\xA0 10:15\xC2\xA0:",
       "Ann Lee", ""},
      {"El 7/12/26 a las 10:15, Ann Lee escribi\xC3\xB3:", "Ann Lee", ""},
      {"Ann Lee escribi\xC3\xB3 el 7/12/26 a las 10:15:", "Ann Lee", ""},
  };
  for (const Case& c : cases) {
    Sender sender;
    ASSERT_TRUE(ReplyFormatter::ParseClientAttribution(c.line, sender)) << c.line;
    EXPECT_EQ(sender.name, c.name) << c.line;
    EXPECT_EQ(sender.mail, c.mail) << c.line;
  }
  Sender sender;
  for (const char* line : {"I wrote: nothing", "On Monday wrote:", "He said:", "> Ann Lee wrote",
                           "On the other hand, Ann wrote:", "Ann wrote on the list:"})
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

Reformatted Draft(const Settings& settings, const std::string& body, const Sender* sender = nullptr) {
  TextForm form;
  form.mailDraft = true;
  form.sender = sender;
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
  // An own part that already ends in an empty line gets no second one.
  EXPECT_EQ(Draft(top, "Bob\n\nOn Mon, 3 Mar 2003, Ann Lee wrote:\n> text\n").body, "Bob\n\nAnn Lee wrote:\n> text");
  // Where nothing moved, the caret goes to an own part kept on top, else to
  // the first line below the quote.
  top.cursorAtTop = 0;
  EXPECT_EQ(Draft(top, "Answer.\n\n-- \nBob\n\nOn Mon, 3 Mar 2003, Ann Lee wrote:\n> text\n").cursorLines, 6);
  Settings below = DefaultSettings();
  below.cursorAtTop = 0;
  EXPECT_EQ(Draft(below, "Ann Lee wrote:\n> text\n>> older\n\n-- \nBob\n").cursorLines, 2);

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

Settings WithStyle(int32_t style) {
  Settings s = DefaultSettings();
  s.headerStyle = style;
  return s;
}

TEST(MailDraft, WrappedAttributionIsOneHeaderWithTheSenderFromBothLines) {
  // Gmail and others wrap a long attribution: after the "<", before the
  // address, inside the date, before or inside the verb.
  const char* const wrapped[] = {
      "On Mon, Dec 7, 2026 at 10:15 AM Ann Lee <\nann@example.com> wrote:",
      "On Mon, Dec 7, 2026 at 10:15 AM Ann Lee\n<ann@example.com> wrote:",
      "On Mon, Dec 7,\n2026 at 10:15 AM Ann Lee <ann@example.com> wrote:",
      "On Mon, Dec 7, 2026 at 10:15 AM Ann Lee <ann@example.com>\nwrote:",
      "Ann Lee <\nann@example.com> wrote:",
      "Am Mo., 7. Dez. 2026 um 10:15 Uhr schrieb Ann Lee <\nann@example.com>:",
      "Le lun. 7 d\xC3\xA9"
      "c. 2026 \xC3\xA0 10:15, Ann Lee <ann@example.com> a\n\xC3\xA9"
      "crit :",
      "El lun, 7 dic 2026 a las 10:15, Ann Lee\n(<ann@example.com>) escribi\xC3\xB3:",
  };
  for (const char* header : wrapped) {
    const std::string body = std::string(header) + "\n\n> Hello,\n> text.\n";
    const Reformatted r = Draft(WithStyle(kHeaderStyleShortMail), body);
    EXPECT_EQ(r.body, "Ann Lee <ann@example.com> wrote:\n> Hello,\n> text.") << header;
    // "O.E." keeps both lines; "none" takes both away.
    EXPECT_EQ(Draft(WithStyle(kHeaderStyleOE), body).body, std::string(header) + "\n> Hello,\n> text.") << header;
    EXPECT_EQ(Draft(WithStyle(kHeaderStyleNone), body).body, "> Hello,\n> text.") << header;
  }
  // Own text above a whole attribution line stays the user's.
  EXPECT_EQ(Draft(DefaultSettings(), "See below.\nAnn Lee wrote:\n> x\n").body, "Ann Lee wrote:\n> x\n\nSee below.");
  EXPECT_EQ(Draft(DefaultSettings(), "On the road.\nOn Mon, Dec 7, 2026, Ann Lee wrote:\n> x\n").body,
            "Ann Lee wrote:\n> x\n\nOn the road.");
}

TEST(MailDraft, ThunderbirdRepliesInEveryHeaderTypeAndLanguage) {
  // Plain-text replies as Thunderbird wrote them, header types 0 to 3, in
  // English, German, French and Spanish.  Type 0 names no sender: only the
  // client's sender can name one.
  const char* const named[] = {
      "Ann Lee wrote:",
      "On 12/7/26 9:15 AM, Ann Lee wrote:",
      "Ann Lee wrote on 12/7/26 9:15 AM:",
      "Am 07.12.26 um 09:15 schrieb Ann Lee:",
      "Ann Lee schrieb am 07.12.26 um 09:15:",
      "Le 07/12/2026 \xC3\xA0 09:15, Ann Lee a \xC3\xA9"
      "crit :",
      "Ann Lee a \xC3\xA9"
      "crit le 07/12/2026 \xC3\xA0 09:15 :",
      "El 7/12/26 a las 9:15, Ann Lee escribi\xC3\xB3:",
      "Ann Lee escribi\xC3\xB3 el 7/12/26 a las 9:15:",
  };
  const char* const unnamed[] = {"-------- Original Message --------", "-------- Original-Nachricht --------",
                                 "-------- Message original --------", "-------- Mensaje original --------"};
  const std::string quote = "\n> Hello Bob,\n> this is the text.\n";
  const Sender author{"Ann Lee", "ann@example.com", false};
  for (const char* header : named) {
    EXPECT_EQ(Draft(DefaultSettings(), header + quote).body, "Ann Lee wrote:\n> Hello Bob,\n> this is the text.")
        << header;
  }
  for (const char* header : unnamed) {
    EXPECT_EQ(Draft(DefaultSettings(), header + quote).body, "> Hello Bob,\n> this is the text.") << header;
    EXPECT_EQ(Draft(DefaultSettings(), header + quote, &author).body,
              "Ann Lee wrote:\n> Hello Bob,\n> this is the text.")
        << header;
  }
}

TEST(MailDraft, ThunderbirdMessageBlockIsReplacedAsTheSeparatorBlockIs) {
  // Thunderbird's "Original Message" header in its English, German, French
  // and Spanish texts, with their field names.
  const char* const blocks[] = {
      "-------- Original Message --------\nSubject: Test\nDate: Mon, 7 Dec 2026 10:15:00 +0100\n"
      "From: Ann Lee <ann@example.com>\nTo: Bob <bob@example.com>\n",
      "-------- Original-Nachricht --------\nBetreff: Test\nDatum: Mon, 7 Dec 2026 10:15:00 +0100\n"
      "Von: Ann Lee <ann@example.com>\nAn: Bob <bob@example.com>\nKopie (CC): Carl <carl@example.com>\n",
      "-------- Message original --------\nSujet\xC2\xA0: Test\nDate\xC2\xA0: Mon, 7 Dec 2026 10:15:00 +0100\n"
      "De\xC2\xA0: \t\"Ann Lee\" <ann@example.com>\nPour\xC2\xA0: Bob <bob@example.com>,\n Carl <carl@example.com>\n",
      "-------- Mensaje original --------\nAsunto: Test\nFecha: Mon, 7 Dec 2026 10:15:00 +0100\n"
      "De: Ann Lee <ann@example.com>\nPara: Bob <bob@example.com>\n",
  };
  for (const char* block : blocks) {
    const std::string body = std::string("\n") + block + "\n> Hello,\n> text.\n\n-- \nBob\n";
    EXPECT_EQ(Draft(WithStyle(kHeaderStyleShortMail), body).body,
              "Ann Lee <ann@example.com> wrote:\n> Hello,\n> text.\n\n-- \nBob")
        << block;
    EXPECT_EQ(Draft(WithStyle(kHeaderStyleOE), body).body, std::string(block) + "\n> Hello,\n> text.\n\n-- \nBob")
        << block;
    EXPECT_EQ(Draft(WithStyle(kHeaderStyleNone), body).body, "> Hello,\n> text.\n\n-- \nBob") << block;
  }
  // Without a From field the block just goes; above an unprefixed quote it
  // takes the quote one level deeper.
  EXPECT_EQ(Draft(DefaultSettings(), "-------- Original Message --------\n> x\n").body, "> x");
  const Reformatted bare = Draft(DefaultSettings(), "-------- Original Message --------\nFrom: Ann Lee <a@b.c>\n\nx\n");
  EXPECT_EQ(bare.result, kReformatDeeper);
  EXPECT_EQ(bare.body, "Ann Lee wrote:\n> x");
  // A forwarded-message line inside own text with no block shape is no header.
  EXPECT_EQ(Draft(DefaultSettings(), "-------- Original Message --------\nsee this\n").result, kReformatUnchanged);
}

TEST(MailDraft, TheClientsSenderNamesEveryHeaderForm) {
  struct Body {
    const char* text;
    const char* ownFirstLine;  // the first line from the header's own sender
  };
  const Body bodies[] = {
      {"On Mon, Dec 7, 2026, Ann Lee wrote:\n> x\n", "Ann Lee wrote:"},
      {"On Mon, Dec 7, 2026 at 10:15 AM Ann Lee <\nann@example.com> wrote:\n> x\n", "Ann Lee <ann@example.com> wrote:"},
      {"Mine.\n\n-----Original Message-----\nFrom: Ann Lee [mailto:ann@example.com]\nSent: Monday\nTo: Bob\n"
       "Subject: x\n\n> x\n",
       "Ann Lee <ann@example.com> wrote:"},
      {"-------- Original Message --------\nSubject: x\nTo: Bob\n\n> x\n", "> x"},  // no From: the block goes
      {"Mine.\n\"Ann Lee\" <ann@example.com> wrote in message news:abc.def...\n> x\n",
       "Ann Lee <ann@example.com> wrote:"},
  };
  struct Case {
    Sender sender;
    const char* attribution;
  };
  const Case cases[] = {
      {{"Carl Roe", "carl@example.com", false}, "Carl Roe <carl@example.com> wrote:"},
      {{"", "carl@example.com", false}, "carl@example.com wrote:"},
      {{"carl@example.com", "carl@example.com", false}, "carl@example.com wrote:"},
      {{"Carl\nRoe", "", false}, "Carl Roe wrote:"},  // a line feed from the client stays one line
  };
  const Settings settings = WithStyle(kHeaderStyleShortMail);
  for (const Body& body : bodies) {
    for (const Case& c : cases)
      EXPECT_EQ(OutputLines(Draft(settings, body.text, &c.sender).body)[0], c.attribution) << body.text;
    // Without a name or an address the header's own sender is taken.
    const Sender none;
    EXPECT_EQ(OutputLines(Draft(settings, body.text, &none).body)[0], body.ownFirstLine) << body.text;
  }
}

TEST(ComposeAttributionFor, EveryStyleWithoutABody) {
  Settings custom = WithStyle(kHeaderStyleCustom);
  const std::string templ = "%n (%m):\\n";
  std::memset(custom.customHeader, 0, sizeof custom.customHeader);
  std::memcpy(custom.customHeader, templ.data(), templ.size());
  struct Case {
    Settings settings;
    Sender sender;
    const char* attribution;
  };
  const Case cases[] = {
      {WithStyle(kHeaderStyleShort), {"Ann Lee", "ann@example.com", false}, "Ann Lee wrote:"},
      {WithStyle(kHeaderStyleShortMail), {"Ann Lee", "ann@example.com", false}, "Ann Lee <ann@example.com> wrote:"},
      {WithStyle(kHeaderStyleShortMail), {"", "ann@example.com", false}, "ann@example.com wrote:"},
      {WithStyle(kHeaderStyleShortMail), {"Ann Lee", "", false}, "Ann Lee wrote:"},
      {custom, {"Ann Lee", "ann@example.com", false}, "Ann Lee (ann@example.com):\n"},
      {WithStyle(kHeaderStyleOE), {"Ann Lee", "ann@example.com", false}, ""},
      {WithStyle(kHeaderStyleNone), {"Ann Lee", "ann@example.com", false}, ""},
      {WithStyle(kHeaderStyleShort), {"", "", false}, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(ComposeAttributionFor(c.settings, c.sender), c.attribution);
}

}  // namespace
