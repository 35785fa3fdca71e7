// Attribution header: finding it, reading the sender, replacing it.
#include <cstring>

#include "base/ReplaceAll.h"
#include "base/Affixes.h"
#include "engine/ReplyFormatter.h"

namespace {

// "Cc:", "Subject:", "Betreff:", "Objet :": letters (any byte from 0x80 up
// counts as one, so that translated names in any single-byte or UTF-8 text
// qualify) and hyphens, an optional blank, then the colon.
bool IsHeaderFieldLine(const std::string& line) {
  std::size_t i = 0;
  while (i < line.size()) {
    const unsigned char c = static_cast<unsigned char>(line[i]);
    if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c >= 0x80 || c == '-')) break;
    ++i;
  }
  if (i == 0) return false;
  if (i < line.size() && line[i] == ' ') ++i;
  return i < line.size() && line[i] == ':';
}

bool IsSeparatorLine(const std::string& line) {
  return line.size() > 10 && StartsWith(line, "-----") && EndsWith(line, "-----") && line[5] != '-';
}

}  // namespace

bool ReplyFormatter::IsEmptyLineAt(long long index) const {
  return index >= 0 && static_cast<unsigned long long>(index) < lines.size() &&
         lines[static_cast<std::size_t>(index)].empty();
}

bool ReplyFormatter::FindHeader(int& headerIndex, HeaderForm& form) const {
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (IsSeparatorLine(line) && lines.size() - i > 5) {
      headerIndex = static_cast<int>(i);
      form = HeaderForm::kSeparator;
      return true;
    }
    if (line.size() > 5 && line.find("news:") != std::string::npos && EndsWith(line, "...") &&
        ScanQuotePrefix(line, 0).depth == 0) {
      headerIndex = static_cast<int>(i);
      form = HeaderForm::kNews;
      return true;
    }
  }
  return false;
}

bool ReplyFormatter::ParseSender(const std::string& text, Sender& sender) {
  sender.nameIsMail = false;
  const std::size_t lt = text.find('<');
  const std::size_t gt = text.find('>');
  if (lt == std::string::npos || gt == std::string::npos || gt < lt) return false;
  sender.mail = text.substr(lt + 1, gt - lt - 1);
  const std::size_t q1 = text.find('"');
  const std::size_t q2 = q1 == std::string::npos ? std::string::npos : text.find('"', q1 + 1);
  if (q2 != std::string::npos) {
    sender.name = text.substr(q1 + 1, q2 - q1 - 1);
    return true;
  }
  const std::size_t start = text.find_first_not_of(" \"");
  if (start != std::string::npos) {
    const std::size_t quote = text.find('"', start);
    if (quote != std::string::npos) {
      sender.name = text.substr(start, quote - start);
      return true;
    }
  }
  sender.nameIsMail = true;
  sender.name = sender.mail;
  return true;
}

std::string ReplyFormatter::ComposeAttribution(const std::string& name, const std::string& mail,
                                               bool nameIsMail) const {
  switch (settings_.headerStyle) {
    case kHeaderStyleShort:
      return name + " wrote:";
    case kHeaderStyleShortMail:
      // A draft's attribution may name the sender without an address.
      if (nameIsMail || (form_.mailDraft && mail.empty())) return name + " wrote:";
      return name + " <" + mail + "> wrote:";
    case kHeaderStyleCustom: {
      std::string header(settings_.customHeader, CustomHeaderLength(settings_));
      ReplaceAll(header, "%n", name);
      ReplaceAll(header, "%m", mail);
      ReplaceAll(header, "\\n", "\n");
      return header;
    }
    default:
      return std::string();
  }
}

int ReplyFormatter::ReplaceHeader(int headerIndex, HeaderForm form, HeaderChange* change) {
  HeaderChange local;
  HeaderChange& what = change != nullptr ? *change : local;
  what = HeaderChange();
  if (headerIndex < 0 || headerIndex >= static_cast<long long>(lines.size()) || form == HeaderForm::kNone)
    return headerIndex - 1;
  if (form == HeaderForm::kNews || form == HeaderForm::kAttribution) return ReplaceHeaderLine(headerIndex, form, what);
  if (form == HeaderForm::kAttributionPair || form == HeaderForm::kMessageBlock)
    return form_.mailDraft ? form_.mailDraft->ReplaceHeader(*this, headerIndex, form, what) : headerIndex - 1;
  if (settings_.headerStyle == kHeaderStyleOE) return KeepSeparatorBlock(headerIndex);
  return ReplaceSeparatorBlock(headerIndex, what);
}

int ReplyFormatter::ReplaceHeaderLine(int headerIndex, HeaderForm form, HeaderChange& what) {
  const std::size_t hi = static_cast<std::size_t>(headerIndex);
  const int32_t style = settings_.headerStyle;
  if (style == kHeaderStyleOE) {
    if (form == HeaderForm::kNews) ReplaceAll(lines[hi], "...", std::string());
    return headerIndex;
  }
  Sender sender;
  // Attributions of today's clients are found in drafts only.
  const bool parsed =
      ClientSender(sender) ||
      (form == HeaderForm::kNews ? ParseSender(lines[hi], sender)
                                 : form_.mailDraft && form_.mailDraft->ParseAttribution(lines[hi], sender));
  return ReplaceAttributionLines(headerIndex, 1, parsed, sender, what);
}

int ReplyFormatter::ReplaceAttributionLines(int headerIndex, std::size_t count, bool haveSender, const Sender& sender,
                                            HeaderChange& what) {
  const std::size_t hi = static_cast<std::size_t>(headerIndex);
  if (settings_.headerStyle != kHeaderStyleNone && haveSender) {
    lines[hi] = ComposeAttribution(sender.name, sender.mail, sender.nameIsMail);
    RemoveLines(hi + 1, count - 1);
    return headerIndex;
  }
  RemoveLines(hi, count);
  what.headerRemoved = true;
  return headerIndex - 1;
}

bool ReplyFormatter::ClientSender(Sender& sender) const {
  if (form_.sender == nullptr || (form_.sender->name.empty() && form_.sender->mail.empty())) return false;
  // The client's header fields are the sender's to write: a control
  // character in them would break the attribution into lines of its own.
  const auto clean = [](std::string text) {
    for (char& c : text)
      if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    return text;
  };
  sender.mail = clean(form_.sender->mail);
  sender.nameIsMail = form_.sender->name.empty() || form_.sender->name == form_.sender->mail;
  sender.name = sender.nameIsMail ? sender.mail : clean(form_.sender->name);
  return true;
}

int ReplyFormatter::KeepSeparatorBlock(int headerIndex) {
  const long long h = headerIndex;
  const long long count = static_cast<long long>(lines.size());
  std::string& separator = lines[static_cast<std::size_t>(h)];
  separator = separator.size() >= 2 ? separator.substr(1, separator.size() - 2) : std::string();
  // The header block ends at its first empty line.  Without one, the four
  // standard lines (From, To, Sent, Subject) are taken as the block.
  long long end = -1;
  for (long long j = h + 4; j < count; ++j) {
    if (lines[static_cast<std::size_t>(j)].empty()) {
      end = j;
      break;
    }
  }
  if (end < 0) return static_cast<int>(h + 4 < count ? h + 4 : count - 1);
  if (IsEmptyLineAt(end + 1)) RemoveLines(static_cast<std::size_t>(end + 1), 1);
  return static_cast<int>(end);
}

int ReplyFormatter::ReplaceSeparatorBlock(int headerIndex, HeaderChange& what) {
  const long long h = headerIndex;
  const long long count = static_cast<long long>(lines.size());
  const std::size_t hi = static_cast<std::size_t>(h);
  const int32_t style = settings_.headerStyle;
  long long keep = style == kHeaderStyleNone ? h : h + 1;
  Sender sender;
  if (style != kHeaderStyleNone && !ClientSender(sender) && h + 1 < count) {
    const std::string& from = lines[hi + 1];
    const std::size_t colon = from.find(':');
    if (colon != std::string::npos) {
      const std::string mailbox = from.substr(colon + 1);
      if (!(form_.mailDraft ? form_.mailDraft->ParseMailbox(mailbox, sender) : ParseSender(mailbox, sender))) keep = h;
    }
  }
  if (keep == h + 1) lines[hi] = ComposeAttribution(sender.name, sender.mail, sender.nameIsMail);

  // The block is the separator and four fields.  The line after them belongs
  // to it only when it is the empty line that ends the fields or a fifth
  // field (then the empty line, if any, comes one later); anything else is
  // already the quoted text.
  long long blockLength = 5;
  if (h + 5 < count) {
    const std::string& fifth = lines[static_cast<std::size_t>(h + 5)];
    if (fifth.empty() || IsHeaderFieldLine(fifth)) blockLength = IsEmptyLineAt(h + 6) ? 7 : 6;
  }
  long long last = h + blockLength - 1;
  if (last > count - 1) last = count - 1;
  if (last >= keep) RemoveLines(static_cast<std::size_t>(keep), static_cast<std::size_t>(last - keep + 1));

  if (keep == h + 1) {
    if (IsEmptyLineAt(h + 1)) RemoveLines(hi + 1, 1);
    return headerIndex;
  }
  return EndAfterRemovedBlock(headerIndex, what);
}

int ReplyFormatter::EndAfterRemovedBlock(int headerIndex, HeaderChange& what) {
  what.headerRemoved = true;
  if (headerIndex == 0) {
    if (IsEmptyLineAt(0)) RemoveLines(0, 1);
    return -1;
  }
  if (IsEmptyLineAt(headerIndex - 1)) {
    RemoveLines(static_cast<std::size_t>(headerIndex) - 1, 1);
    what.blankAboveRemoved = true;
    return headerIndex - 2;
  }
  return headerIndex - 1;
}

bool ReplyFormatter::IsValidCustomHeader(const std::string& customHeader) {
  if (StartsWith(customHeader, "-----") && EndsWith(customHeader, "-----")) return false;
  if ((StartsWith(customHeader, "<") || StartsWith(customHeader, "\"")) &&
      customHeader.find("news:") != std::string::npos)
    return false;
  return true;
}
