// The attributions of today's mail clients, for drafts handed to an editor:
// "On DATE, NAME wrote:" and its relatives in English, German, French and
// Spanish, on one line or wrapped onto two, Thunderbird's message block, and
// the mailbox forms their senders come in.  The words are UTF-8, written in
// octal escapes, which end after three digits where a hex escape would run
// on into the letter after it.
#include <algorithm>
#include <cstring>
#include <vector>

#include "base/Affixes.h"
#include "engine/ReplyFormatter.h"

namespace {

// Drafts know only ">" as a quote mark: a "|" or ":" at the start of a line
// is the sender's text.
int32_t MailQuoteDepth(const std::string& line) {
  return ReplyFormatter::ScanMailQuotePrefix(line.data(), line.size(), 0).depth;
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Blanks as clients write them around a time or a colon: the ASCII blank, and
// the no-break spaces (U+00A0, U+202F) that French text and some date formats
// put before ":" or "AM".
std::size_t BlankLengthAt(const std::string& s, std::size_t at) {
  if (at < s.size() && s[at] == ' ') return 1;
  if (s.compare(at, 2, "\302\240") == 0) return 2;
  if (s.compare(at, 3, "\342\200\257") == 0) return 3;
  return 0;
}

std::string TrimBlanks(const std::string& s) {
  std::size_t first = 0;
  while (first < s.size()) {
    const std::size_t n = s[first] == '\t' ? 1 : BlankLengthAt(s, first);
    if (n == 0) break;
    first += n;
  }
  std::size_t last = s.size();
  while (last > first) {
    if (s[last - 1] == ' ' || s[last - 1] == '\t') {
      --last;
    } else if (last - first >= 2 && s.compare(last - 2, 2, "\302\240") == 0) {
      last -= 2;
    } else if (last - first >= 3 && s.compare(last - 3, 3, "\342\200\257") == 0) {
      last -= 3;
    } else {
      break;
    }
  }
  return s.substr(first, last - first);
}

// The top-level ", " positions: neither inside double quotes nor inside
// angle brackets, so that "Lee, Ann" in quotes stays one name.
std::vector<std::size_t> TopLevelCommas(const std::string& s) {
  std::vector<std::size_t> found;
  bool inQuotes = false;
  int angle = 0;
  for (std::size_t i = 0; i + 1 < s.size(); ++i) {
    const char c = s[i];
    if (c == '"') inQuotes = !inQuotes;
    if (inQuotes) continue;
    if (c == '<') ++angle;
    if (c == '>' && angle > 0) --angle;
    if (c == ',' && angle == 0 && s[i + 1] == ' ') found.push_back(i);
  }
  return found;
}

// The text after the last time of day in it ("10:00", "10:00:00AM",
// "10:00 AM", "10:00 Uhr"), or npos when it holds none.
std::size_t AfterTimeOfDay(const std::string& s) {
  std::size_t colon = std::string::npos;
  for (std::size_t i = 1; i + 2 < s.size(); ++i)
    if (s[i] == ':' && IsDigit(s[i - 1]) && IsDigit(s[i + 1]) && IsDigit(s[i + 2])) colon = i;
  if (colon == std::string::npos) return std::string::npos;
  std::size_t end = colon + 3;
  if (end + 2 < s.size() && s[end] == ':' && IsDigit(s[end + 1]) && IsDigit(s[end + 2])) end += 3;
  static const char* const kMarks[] = {"AM", "PM", "am", "pm", "a.m.", "p.m.", "a. m.", "p. m.", "Uhr", "h"};
  for (int pass = 0; pass < 2; ++pass) {
    std::size_t at = end;
    while (const std::size_t n = BlankLengthAt(s, at)) at += n;
    bool matched = false;
    for (const char* mark : kMarks) {
      const std::size_t n = std::strlen(mark);
      if (s.compare(at, n, mark) == 0 && (at + n == s.size() || s[at + n] == ' ' || s[at + n] == ',')) {
        end = at + n;
        matched = true;
        break;
      }
    }
    if (!matched) break;
  }
  return end;
}

// A time zone after a time of day: "+0100", "-05:00", "UTC", "CEST", "(CET)".
bool IsTimeZone(const std::string& token) {
  if (token.empty() || token.size() > 9 || token.find(' ') != std::string::npos) return false;
  if ((token[0] == '+' || token[0] == '-') && token.size() > 1 && IsDigit(token[1])) return true;
  if (token.front() == '(' && token.back() == ')') return true;
  if (token[0] < 'A' || token[0] > 'Z') return false;
  for (const char c : token)
    if (!((c >= 'A' && c <= 'Z') || IsDigit(c) || c == '+' || c == '-' || c == ':')) return false;
  return true;
}

// A weekday as the dates of English, German, French and Spanish clients name
// it, in full or cut short, with or without its full stop.
bool IsWeekday(std::string word) {
  if (!word.empty() && word.back() == '.') word.pop_back();
  for (char& c : word)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  // English, German, French, Spanish (with and without its accents).
  static const std::string kDays =
      " mon tue tues wed thu thur thurs fri sat sun monday tuesday wednesday thursday friday saturday sunday"
      " mo di mi do fr sa so montag dienstag mittwoch donnerstag freitag samstag sonnabend sonntag"
      " lun mar mer jeu ven sam dim lundi mardi mercredi jeudi vendredi samedi dimanche"
      " mi\303\251 mie jue vie s\303\241b sab dom lunes martes mi\303\251rcoles miercoles jueves viernes"
      " s\303\241bado sabado domingo ";
  return !word.empty() && word.find(' ') == std::string::npos && kDays.find(" " + word + " ") != std::string::npos;
}

// Where the sender begins in what follows a date ("Mon, 3 Mar 2003, Ann
// Lee", "12/2/26 9:17 AM, Ortiz, Mark", "Mon, Mar 3, 2003 at 10:00 AM Ann Lee
// <ann@example.com>"), or npos.  A display name may hold commas itself, so
// the date is read from the front: its parts between commas hold a digit or
// are a weekday, and a time of day, with its zone, ends it.
std::size_t SenderAfterDate(const std::string& s) {
  std::vector<std::size_t> commas = TopLevelCommas(s);
  commas.push_back(s.size());
  std::size_t start = 0;
  std::size_t lastStart = std::string::npos;
  for (const std::size_t comma : commas) {
    const std::string part = s.substr(start, comma - start);
    const std::size_t time = AfterTimeOfDay(part);
    if (time != std::string::npos) {
      const std::string rest = TrimBlanks(part.substr(time));
      if (!rest.empty() && !IsTimeZone(rest)) return start + part.find(rest, time);
    } else if (part.find_first_of("0123456789") == std::string::npos && !IsWeekday(TrimBlanks(part))) {
      return start == 0 ? std::string::npos : start;
    }
    lastStart = time == std::string::npos ? start : std::string::npos;
    start = comma + 2;
  }
  // The date took every part: the last one, if it holds no time, is the
  // sender ("On Mon, 3 Mar 2003, Team 42 wrote:").
  return commas.size() > 1 ? lastStart : std::string::npos;
}

const char* const kDatedIntros[] = {"On ", "Am ", "Le ", "El "};

bool StartsDated(const std::string& line) {
  for (const char* intro : kDatedIntros)
    if (StartsWith(line, intro)) return true;
  return false;
}

}  // namespace

bool ReplyFormatter::ParseMailbox(const std::string& text, Sender& sender) {
  std::string t = TrimBlanks(text);
  std::string name;
  std::string mail;
  const std::size_t lt = t.rfind('<');
  const std::size_t gt = lt == std::string::npos ? std::string::npos : t.find('>', lt);
  const std::size_t mailto = t.find("[mailto:");
  if (gt != std::string::npos) {
    mail = TrimBlanks(t.substr(lt + 1, gt - lt - 1));
    name = t.substr(0, lt);
  } else if (mailto != std::string::npos) {
    const std::size_t close = t.find(']', mailto);
    mail = TrimBlanks(t.substr(mailto + 8, close == std::string::npos ? std::string::npos : close - mailto - 8));
    name = t.substr(0, mailto);
  } else if (t.find('@') != std::string::npos && t.find(' ') == std::string::npos) {
    mail = t;
  } else {
    name = t;
  }
  name = TrimBlanks(name);
  if (!name.empty() && name.back() == '(') name = TrimBlanks(name.substr(0, name.size() - 1));  // "Ann (<ann@x>)"
  if (name.size() >= 2 &&
      ((name.front() == '"' && name.back() == '"') || (name.front() == '\'' && name.back() == '\'')))
    name = TrimBlanks(name.substr(1, name.size() - 2));
  if (name.empty() && mail.empty()) return false;
  sender.nameIsMail = name.empty();
  sender.name = name.empty() ? mail : name;
  sender.mail = mail;
  return true;
}

bool ReplyFormatter::ParseClientAttribution(const std::string& line, Sender& sender) {
  if (line.size() > 300 || line.empty()) return false;
  static const char* const kVerbs[] = {
      " wrote:", " a \303\251crit :", " a \303\251crit\302\240:", " a \303\251crit:", " escribi\303\263:", " schrieb:"};
  // Thunderbird's "NAME wrote on DATE TIME:" in its four languages.
  static const char* const kVerbsBeforeDate[] = {" wrote on ", " schrieb am ", " a \303\251crit le ",
                                                 " escribi\303\263 el "};
  std::string who;
  bool found = false;
  for (const char* verb : kVerbs) {
    if (EndsWith(line, verb)) {
      who = line.substr(0, line.size() - std::strlen(verb));
      found = true;
      break;
    }
  }
  const bool dated = found && StartsDated(who);
  if (!found && StartsWith(line, "Am ") && line.back() == ':') {
    // German clients name the sender after the verb: "Am DATE schrieb NAME:".
    const std::size_t verb = line.rfind(" schrieb ");
    if (verb == std::string::npos) return false;
    who = line.substr(verb + 9, line.size() - verb - 10);
  } else if (!found && line.back() == ':') {
    for (const char* verb : kVerbsBeforeDate) {
      const std::size_t at = line.find(verb);
      if (at != std::string::npos && at > 0 &&
          line.find_first_of("0123456789", at + std::strlen(verb)) != std::string::npos) {
        who = line.substr(0, at);
        found = true;
        break;
      }
    }
    if (!found) return false;
  } else if (!found) {
    return false;
  }
  if (dated) {
    const std::string date = who.substr(3);  // after "On ", "Am ", "Le ", "El "
    const std::size_t at = SenderAfterDate(date);
    if (at == std::string::npos) return false;
    who = date.substr(at);
  } else if (who.size() > 100) {
    return false;
  }
  return ParseMailbox(who, sender);
}

bool ReplyFormatter::ParseWrappedAttribution(const std::string& first, const std::string& second, Sender& sender) {
  // Every form ends in a colon; most lines of a long draft fail here.
  if (first.empty() || second.empty() || second.back() != ':' || first.size() + second.size() > 300 ||
      MailQuoteDepth(second) != 0)
    return false;
  Sender alone;
  if (ParseClientAttribution(first, alone)) return false;
  // Gmail breaks right after the "<" of the address; other wraps fall at a
  // blank, which the line end took.
  const std::size_t lt = first.rfind('<');
  const bool openAddress = lt != std::string::npos && first.find('>', lt) == std::string::npos;
  const std::string joined = first.back() == '<' ? first + second : first + " " + second;
  Sender whole;
  if (!ParseClientAttribution(joined, whole)) return false;
  // The second line alone must not be a whole attribution below a line of
  // own text: the first line begins a dated attribution (and the second
  // does not begin one of its own), or leaves an address open, or the
  // second line is no attribution by itself.
  const bool datedStart = StartsDated(first) && !StartsDated(second);
  if (!datedStart && !openAddress && ParseClientAttribution(second, alone)) return false;
  sender = whole;
  return true;
}

namespace {

// "Subject: x", "Von: Ann", "Sujet\u00A0: x", "Kopie (CC): Carl": a field name
// of a few words, then its colon.
bool IsBlockFieldLine(const std::string& line) {
  const std::size_t colon = line.find(':');
  if (colon == std::string::npos || colon == 0 || colon > 40) return false;
  if (line[0] == ' ' || line[0] == '\t' || ReplyFormatter::IsQuoteChar(static_cast<unsigned char>(line[0])))
    return false;
  return line.find_first_of("<>@\"", 0) >= colon;
}

// Thunderbird's "-------- Original Message --------" and its translations.
bool IsMessageSeparator(const std::string& line) {
  return line.size() > 18 && StartsWith(line, "-------- ") && EndsWith(line, " --------");
}

// The From field of a message block, in the languages Thunderbird names it
// in: From, Von, De.
bool IsFromField(const std::string& name) {
  const std::string n = TrimBlanks(name);
  return n == "From" || n == "Von" || n == "De";
}

}  // namespace

bool ReplyFormatter::QuoteFollows(std::size_t index) const {
  std::size_t next = index + 1;
  while (next < lines.size() && lines[next].empty()) ++next;
  return next < lines.size() && MailQuoteDepth(lines[next]) != 0;
}

long long ReplyFormatter::MessageBlockEnd(std::size_t headerIndex) const {
  if (!IsMessageSeparator(lines[headerIndex])) return -1;
  // Its fields, each perhaps continued on lines that begin with a blank, up
  // to the empty line that ends them; without one, the quote must follow the
  // fields directly.
  const std::size_t limit = std::min(lines.size(), headerIndex + 20);
  std::size_t j = headerIndex + 1;
  for (; j < limit; ++j) {
    const std::string& line = lines[j];
    if (line.empty()) break;
    const bool continued = j > headerIndex + 1 && (line[0] == ' ' || line[0] == '\t');
    if (!continued && !IsBlockFieldLine(line)) break;
  }
  long long end = -1;
  if (j < lines.size() && lines[j].empty()) {
    end = static_cast<long long>(j);
  } else if (j < lines.size() && MailQuoteDepth(lines[j]) != 0) {
    end = static_cast<long long>(j) - 1;
  }
  // Something must follow the block for it to head a quote.
  if (end < 0) return -1;
  for (std::size_t k = static_cast<std::size_t>(end) + 1; k < lines.size(); ++k)
    if (!lines[k].empty()) return end;
  return -1;
}

bool ReplyFormatter::FindDraftHeader(int& headerIndex, HeaderForm& form) const {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    HeaderForm found = HeaderForm::kNone;
    if (line.size() > 10 && StartsWith(line, "-----") && EndsWith(line, "-----") && line[5] != '-' &&
        lines.size() - i > 5) {
      found = HeaderForm::kSeparator;
    } else if (line.size() > 5 && line.find("news:") != std::string::npos && EndsWith(line, "...") &&
               MailQuoteDepth(line) == 0) {
      found = HeaderForm::kNews;
    } else if (MessageBlockEnd(i) >= 0) {
      found = HeaderForm::kMessageBlock;
    } else {
      // An attribution is unquoted and has quoted text below it.
      if (line.empty() || MailQuoteDepth(line) != 0) continue;
      Sender sender;
      if (ParseClientAttribution(line, sender)) {
        if (QuoteFollows(i)) found = HeaderForm::kAttribution;
      } else if (i + 1 < lines.size() && ParseWrappedAttribution(line, lines[i + 1], sender) && QuoteFollows(i + 1)) {
        found = HeaderForm::kAttributionPair;
      }
      if (found == HeaderForm::kNone) continue;
    }
    headerIndex = static_cast<int>(i);
    form = found;
    return true;
  }
  return false;
}

int ReplyFormatter::ReplaceDraftHeader(int headerIndex, HeaderForm form, HeaderChange& what) {
  const std::size_t hi = static_cast<std::size_t>(headerIndex);
  const int32_t style = settings_.headerStyle;
  Sender sender;
  const bool known = ClientSender(sender);
  if (form == HeaderForm::kAttributionPair) {
    if (hi + 1 >= lines.size()) return headerIndex - 1;
    if (style == kHeaderStyleOE) return headerIndex + 1;
    const bool parsed = known || ParseWrappedAttribution(lines[hi], lines[hi + 1], sender);
    return ReplaceAttributionLines(headerIndex, 2, parsed, sender, what);
  }
  const long long end = MessageBlockEnd(hi);
  if (end < 0) return headerIndex - 1;
  const std::size_t last = static_cast<std::size_t>(end);
  // "O.E." keeps the client's own block, as the Windows client's is kept.
  if (style == kHeaderStyleOE) {
    if (lines[last].empty() && IsEmptyLineAt(end + 1)) RemoveLines(last + 1, 1);
    return static_cast<int>(end);
  }
  bool named = known;
  for (std::size_t j = hi + 1; !named && j <= last; ++j) {
    const std::size_t colon = lines[j].find(':');
    if (colon != std::string::npos && IsFromField(lines[j].substr(0, colon)))
      named = ParseMailbox(lines[j].substr(colon + 1), sender);
  }
  if (style != kHeaderStyleNone && named) {
    lines[hi] = ComposeAttribution(sender.name, sender.mail, sender.nameIsMail);
    RemoveLines(hi + 1, last - hi);
    if (IsEmptyLineAt(headerIndex + 1)) RemoveLines(hi + 1, 1);
    return headerIndex;
  }
  RemoveLines(hi, last - hi + 1);
  return EndAfterRemovedBlock(headerIndex, what);
}

std::string ComposeAttributionFor(const Settings& settings, const Sender& sender) {
  TextForm form;
  form.mailDraft = true;
  form.sender = &sender;
  const ReplyFormatter formatter(settings, form);
  Sender named;
  if (!formatter.ClientSender(named)) return std::string();
  return formatter.ComposeAttribution(named.name, named.mail, named.nameIsMail);
}
