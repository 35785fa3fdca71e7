// How a body is read and written beyond what the options record says: its
// characters (TextMeasure), format=flowed and a terminal mail client's draft.
// The default is the Windows client's single-byte text, exactly.
//
// Flowed text and drafts change steps of the reply pipeline.  Those steps sit
// behind the interfaces below and are implemented in engine/mail/, which only
// the programs that offer these forms link: the formatter calls them through
// a pointer that stays null unless the form is turned on, so the Windows
// programs, which never turn them on, carry none of their code.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/TextMeasure.h"

class ReplyFormatter;
struct Sender;
struct HeaderChange;
struct QuotePrefix;
enum class HeaderForm;

// The steps in which a draft differs from the Windows client's body: the
// attribution lines of today's clients, quoted text that keeps its depth, and
// the own signature below the quote.
class DraftSteps {
public:
  // The attribution header, in the Windows client's forms or today's.
  virtual bool FindHeader(const ReplyFormatter& formatter, int& headerIndex, HeaderForm& form) const = 0;
  // The sender of an attribution line, and of a mailbox in a header field.
  virtual bool ParseAttribution(const std::string& line, Sender& sender) const = 0;
  virtual bool ParseMailbox(const std::string& text, Sender& sender) const = 0;
  // Sets the base depth of the quote below the header, and gives an own
  // signature below it its blank back.
  virtual void TakeQuoteDepth(ReplyFormatter& formatter, int headerEnd) const = 0;
  // Replaces the header forms only drafts have (a wrapped attribution, a
  // message block); returns headerEnd as ReplyFormatter::ReplaceHeader does.
  virtual int ReplaceHeader(ReplyFormatter& formatter, int headerIndex, HeaderForm form, HeaderChange& what) const = 0;
  // Drops the empty quoted lines that end a quoted block.
  virtual void DropEmptyQuoteEnds(ReplyFormatter& formatter, int headerEnd) const = 0;
  // The own part, just moved below the quote to begin at line `first`, gets
  // an empty line above it and loses those at its end; returns how many it
  // lost.
  virtual int SettleOwnPartBelowQuote(ReplyFormatter& formatter, std::size_t first) const = 0;
  // Moves the own signature from the own part above the quote to below it;
  // returns the last line of the own part left above the header, or -1.
  virtual int MoveOwnSignatureBelowQuote(ReplyFormatter& formatter, int ownEnd) const = 0;
  // The caret's lines above the last line of the rendered `body` when the own
  // part was not moved: the top when own text stayed above the quote, else
  // the first line below the quote.
  virtual int CaretLines(const ReplyFormatter& formatter, int ownEnd, const std::string& body) const = 0;

protected:
  ~DraftSteps() = default;
};

// The steps in which flowed text differs: reading the quote marks of the
// lines DecodeFlowed wrote, and rendering with soft line breaks.
class FlowedSteps {
public:
  virtual QuotePrefix ReadQuotePrefix(const std::string& line, int32_t baseDepth) const = 0;
  // Undoes the space-stuffing of an unquoted line.
  virtual void UnstuffOwnLine(std::string& line) const = 0;
  virtual void Render(const ReplyFormatter& formatter, std::string& body) const = 0;

protected:
  ~FlowedSteps() = default;
};

// The steps of today's mail, whose bodies carry patches, code, trailers,
// tables and lists: every line is a block of its own kind, lines that have
// a structure keep their line, and only prose and the text of list items is
// filled, breaking at blanks only.
class BlockSteps {
public:
  // One byte per line for JoinBrokenQuotes: kMayExtend when other lines may
  // be joined to the end of this one, kMayJoin when this line may be joined
  // to the line above.
  enum : unsigned char { kMayExtend = 1, kMayJoin = 2 };
  virtual void MarkJoinable(const ReplyFormatter& formatter, std::vector<unsigned char>& marks) const = 0;
  virtual void Render(const ReplyFormatter& formatter, std::string& body) const = 0;

protected:
  ~BlockSteps() = default;
};

// The one implementation of each, in engine/mail/: constants that live as
// long as the program, like the text measures.
const DraftSteps& MailDraftSteps();
const FlowedSteps& FlowedTextSteps();
const BlockSteps& MailBlockSteps();

// A form that is on or off.  Turning it on takes the steps that carry it
// out; only code that turns it on refers to them.
template <class Steps, const Steps& (*TheSteps)()>
class FormSwitch {
public:
  FormSwitch& operator=(bool on) {
    steps_ = on ? &TheSteps() : nullptr;
    return *this;
  }
  explicit operator bool() const { return steps_ != nullptr; }
  // Off again, without referring to the steps (so code that only ever turns
  // a form off does not carry them).
  void Off() { steps_ = nullptr; }
  const Steps* operator->() const { return steps_; }

private:
  const Steps* steps_ = nullptr;
};

struct TextForm {
  const TextMeasure* measure = nullptr;  // characters and columns; null: bytes
  // format=flowed (RFC 3676): the body came through DecodeFlowed and is
  // rendered with soft line breaks.
  FormSwitch<FlowedSteps, FlowedTextSteps> flowed;
  bool delSp = false;  // with flowed: DelSp=yes
  // A terminal mail client's draft: the attributions of today's clients,
  // quoted text keeps its depth, and the own signature follows the quote.
  FormSwitch<DraftSteps, MailDraftSteps> mailDraft;
  // The original message's author as the mail client knows it (its message
  // header, not the attribution line, which may be in any language).  When
  // set with a name or an address, the new attribution names this sender
  // whatever header form was found; an empty name gives the address.
  const Sender* sender = nullptr;
  // The rules of today's mail (BlockSteps).  They belong to every text
  // measured as Unicode, to flowed text and to drafts, and to nothing else:
  // turn them on with UseTodaysMailRules once the rest of the form is chosen.
  FormSwitch<BlockSteps, MailBlockSteps> todaysMail;
};

// Turns today's mail rules on or off as the rest of the form says.  Only the
// programs that offer Unicode, flowed text or drafts call it.
inline void UseTodaysMailRules(TextForm& form) {
  form.todaysMail = (form.measure != nullptr && form.measure->IsUnicode()) || form.flowed || form.mailDraft;
}
