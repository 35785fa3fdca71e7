// The reply text engine: one object per body, made fresh and used once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/Settings.h"
#include "engine/TextForm.h"

// Outcome of ReplyFormatter::ReformatReply.
enum ReformatResult : int {
  kReformatDone = 0,       // body replaced
  kReformatUnchanged = 1,  // nothing done, body untouched
  kReformatDeeper = 4      // body replaced; quoted part taken one level deeper
};

// Form of an attribution header.  The last three are today's mail clients'
// forms, looked for in mail drafts only: an attribution line ("On DATE, NAME
// wrote:"), the same wrapped onto two lines, and a message block (a line such
// as "-------- Original Message --------" and header fields up to an empty
// line).
enum class HeaderForm { kNone, kSeparator, kNews, kAttribution, kAttributionPair, kMessageBlock };

// Sender data taken out of an attribution.
struct Sender {
  std::string name;
  std::string mail;
  bool nameIsMail = false;
};

// The attribution the header style makes for a sender, as a draft's header
// becomes (engine/mail/): for a body the engine does not rewrite, such as an
// HTML reply.  An empty name gives the address.  Empty for the styles that
// make no line ("O.E." keeps the client's own, "none" drops it) and for a
// sender with neither name nor address.
std::string ComposeAttributionFor(const Settings& settings, const Sender& sender);

// Quote prefix at the start of a line: its depth (counted from the base) and
// how many characters it spans.
struct QuotePrefix {
  int32_t depth;
  std::size_t length;
};

// What ReplaceHeader did besides returning headerEnd.
struct HeaderChange {
  bool headerRemoved = false;      // the header line (and its block) is gone
  bool blankAboveRemoved = false;  // the empty line above the former header is gone too
};

class ReplyFormatter {
public:
  // Keeps a reference to the settings (read at the moment of use) and copies
  // the wrap column and the text form.
  explicit ReplyFormatter(const Settings& settings, const TextForm& form = TextForm());
  virtual ~ReplyFormatter();
  ReplyFormatter(const ReplyFormatter&) = delete;
  ReplyFormatter& operator=(const ReplyFormatter&) = delete;

  // The whole reply pipeline.  cursorLines is not written when the body has
  // no line feed.
  ReformatResult ReformatReply(std::string& body, int& cursorLines);

  // Line model and quote prefixes.
  void SplitLines(const std::string& body);
  static QuotePrefix ScanQuotePrefix(const std::string& line, int32_t baseDepth);
  static QuotePrefix ScanQuotePrefix(const char* line, std::size_t length, int32_t baseDepth);
  // The same grammar with '>' as the only quote character, as in today's
  // mail (RFC 3676): a '|' or ':' at the start of a line is text.
  static QuotePrefix ScanMailQuotePrefix(const char* line, std::size_t length, int32_t baseDepth);
  void MeasureQuoteDepth();
  static bool IsQuoteChar(unsigned char c);
  static bool IsWordChar(unsigned char c);
  static bool IsQuoteOnlyLine(const std::string& line);
  static bool IsBlankLine(const std::string& line);

  // Attribution header.  FindHeader returns false when there is none.
  bool FindHeader(int& headerIndex, HeaderForm& form) const;
  static bool ParseSender(const std::string& text, Sender& sender);  // true on success
  // Mail drafts (engine/mail/, reached through TextForm::mailDraft).
  // The sender of a mailbox as today's clients write it ("Ann Lee
  // <ann@example.com>", "\"Lee, Ann\" <ann@example.com>", "ann@example.com",
  // "Ann Lee [mailto:ann@example.com]"): the display name when there is one,
  // else the address.  False when there is neither.
  static bool ParseMailbox(const std::string& text, Sender& sender);
  // An attribution line of today's clients, with its sender.
  static bool ParseClientAttribution(const std::string& line, Sender& sender);
  // Two lines that are one attribution wrapped by its client; `sender` is
  // written only when they are.
  static bool ParseWrappedAttribution(const std::string& first, const std::string& second, Sender& sender);
  std::string ComposeAttribution(const std::string& name, const std::string& mail, bool nameIsMail) const;
  int ReplaceHeader(int headerIndex, HeaderForm form, HeaderChange* change = nullptr);
  static bool IsValidCustomHeader(const std::string& customHeader);

  // Signatures.
  void MarkOwnPart(int headerEnd);
  void StripQuotedSignature(int headerEnd);
  void MoveOwnPartToBottom(int ownEnd, int& cursorLines);
  // Mail drafts (engine/mail/): the own signature above the quote goes below it.
  int MoveOwnSignatureBelowQuote(int ownEnd);
  int DraftCaretLines(int ownEnd, const std::string& body) const;

  // Re-wrapping and rendering.
  std::string WrapLine(const std::string& line, const std::string& prefix);
  void RenderReply(std::string& body);
  void JoinBrokenQuotes();
  std::string BuildPrefix(int32_t depth) const;

  // State, in the order the steps use it.
  unsigned char baseDepth = 0;
  std::string carry;
  int32_t wrapColumn;
  std::vector<std::string> lines;
  std::vector<int32_t> depths;
  std::vector<unsigned char> quoted;

private:
  // The three cases of ReplaceHeader: a one-line header (news or a draft's
  // attribution), and a separator block kept or replaced.
  int ReplaceHeaderLine(int headerIndex, HeaderForm form, HeaderChange& what);
  int KeepSeparatorBlock(int headerIndex);
  int ReplaceSeparatorBlock(int headerIndex, HeaderChange& what);
  // Replaces `count` header lines by the composed attribution, or removes
  // them when the style is "none" or no sender is known.
  int ReplaceAttributionLines(int headerIndex, std::size_t count, bool haveSender, const Sender& sender,
                              HeaderChange& what);
  // What headerEnd becomes once a header block that began at headerIndex is
  // gone, and the empty line next to it with it.
  int EndAfterRemovedBlock(int headerIndex, HeaderChange& what);
  // The sender the mail client named in the text form, if it named one.
  bool ClientSender(Sender& sender) const;
  // The steps of drafts and flowed text, in engine/mail/.
  friend class MailDraftRules;
  friend std::string ComposeAttributionFor(const Settings& settings, const Sender& sender);
  friend class FlowedRendering;
  friend class MailBlockRules;

  void RemoveLines(std::size_t first, std::size_t count);
  void InsertLine(std::size_t index, const std::string& text, unsigned char isQuoted);
  bool IsEmptyLineAt(long long index) const;
  std::string OwnSeparator() const;
  bool FindDraftHeader(int& headerIndex, HeaderForm& form) const;
  bool QuoteFollows(std::size_t index) const;
  long long MessageBlockEnd(std::size_t headerIndex) const;
  int ReplaceDraftHeader(int headerIndex, HeaderForm form, HeaderChange& what);
  void TakeDraftQuoteDepth(int headerEnd);
  void RestoreDraftSignature(int headerEnd);
  void DropEmptyQuoteEnds(int headerEnd);
  int SettleDraftOwnPart(std::size_t first);
  void RenderFlowed(std::string& body) const;
  void RenderBlocks(std::string& body) const;
  // Whether the text after a quote prefix is nothing but quote marks and
  // blanks, as this form reads quote marks.
  bool IsQuoteMark(unsigned char c) const;
  bool IsEmptyQuoteLine(const std::string& line) const;

  const Settings& settings_;
  TextForm form_;
  const TextMeasure& measure_;
};

// The separator fix for a message that is not a reply: every own signature
// separator line, "--" with or without its blank, becomes "--" and the byte
// 0x81.  Works on the raw body (CR LF or lone LF line ends).  Returns whether
// any separator was replaced.
bool ApplySignatureFix(std::string& body);
