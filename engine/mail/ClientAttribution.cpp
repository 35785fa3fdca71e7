// The attribution lines of today's mail clients, for drafts handed to an
// editor: "On DATE, NAME wrote:" and its relatives in English, German,
// French and Spanish, and the mailbox forms their senders come in.
#include <cstring>

#include "base/Affixes.h"
#include "engine/ReplyFormatter.h"

namespace {

std::string Trim(const std::string& s) {
  const std::size_t first = s.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  const std::size_t last = s.find_last_not_of(" \t");
  return s.substr(first, last - first + 1);
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// The last ", " that is neither inside double quotes nor inside angle
// brackets, so that "Lee, Ann" in quotes stays one name.
std::size_t LastTopLevelComma(const std::string& s) {
  std::size_t found = std::string::npos;
  bool inQuotes = false;
  int angle = 0;
  for (std::size_t i = 0; i + 1 < s.size(); ++i) {
    const char c = s[i];
    if (c == '"') inQuotes = !inQuotes;
    if (inQuotes) continue;
    if (c == '<') ++angle;
    if (c == '>' && angle > 0) --angle;
    if (c == ',' && angle == 0 && s[i + 1] == ' ') found = i;
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
  static const char* const kMarks[] = {"AM", "PM", "am", "pm", "a.m.", "p.m.", "Uhr", "h"};
  for (int pass = 0; pass < 2; ++pass) {
    std::size_t at = end;
    while (at < s.size() && s[at] == ' ') ++at;
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

}  // namespace

bool ReplyFormatter::ParseMailbox(const std::string& text, Sender& sender) {
  std::string t = Trim(text);
  std::string name;
  std::string mail;
  const std::size_t lt = t.rfind('<');
  const std::size_t gt = lt == std::string::npos ? std::string::npos : t.find('>', lt);
  const std::size_t mailto = t.find("[mailto:");
  if (gt != std::string::npos) {
    mail = Trim(t.substr(lt + 1, gt - lt - 1));
    name = t.substr(0, lt);
  } else if (mailto != std::string::npos) {
    const std::size_t close = t.find(']', mailto);
    mail = Trim(t.substr(mailto + 8, close == std::string::npos ? std::string::npos : close - mailto - 8));
    name = t.substr(0, mailto);
  } else if (t.find('@') != std::string::npos && t.find(' ') == std::string::npos) {
    mail = t;
  } else {
    name = t;
  }
  name = Trim(name);
  if (!name.empty() && name.back() == '(') name = Trim(name.substr(0, name.size() - 1));  // "Ann (<ann@x>)"
  if (name.size() >= 2 &&
      ((name.front() == '"' && name.back() == '"') || (name.front() == '\'' && name.back() == '\'')))
    name = Trim(name.substr(1, name.size() - 2));
  if (name.empty() && mail.empty()) return false;
  sender.nameIsMail = name.empty();
  sender.name = name.empty() ? mail : name;
  sender.mail = mail;
  return true;
}

bool ReplyFormatter::ParseClientAttribution(const std::string& line, Sender& sender) {
  if (line.size() > 300) return false;
  static const char* const kVerbs[] = {" wrote:",
                                       " a \xC3\xA9"
                                       "crit :",
                                       " a \xC3\xA9"
                                       "crit:",
                                       " escribi\xC3\xB3:", " schrieb:"};
  std::string who;
  bool found = false;
  for (const char* verb : kVerbs) {
    if (EndsWith(line, verb)) {
      who = line.substr(0, line.size() - std::strlen(verb));
      found = true;
      break;
    }
  }
  bool dated = false;
  if (found) {
    static const char* const kIntros[] = {"On ", "Am ", "Le ", "El "};
    for (const char* intro : kIntros) dated = dated || StartsWith(who, intro);
  } else if (StartsWith(line, "Am ") && !line.empty() && line.back() == ':') {
    // German clients name the sender after the verb: "Am DATE schrieb NAME:".
    const std::size_t verb = line.rfind(" schrieb ");
    if (verb == std::string::npos) return false;
    who = line.substr(verb + 9, line.size() - verb - 10);
  } else {
    return false;
  }
  if (dated) {
    // The date comes first; the sender follows its last comma ("On Mon, 3
    // Mar 2003, Ann Lee wrote:") or its time of day ("On Mon, Mar 3, 2003 at
    // 10:00 AM Ann Lee <ann@example.com> wrote:").
    const std::size_t comma = LastTopLevelComma(who);
    if (comma != std::string::npos) who = who.substr(comma + 2);
    const std::size_t time = AfterTimeOfDay(who);
    if (time != std::string::npos) {
      who = who.substr(time);
    } else if (comma == std::string::npos) {
      return false;
    }
  } else if (who.size() > 100) {
    return false;
  }
  return ParseMailbox(who, sender);
}

bool ReplyFormatter::FindDraftHeader(int& headerIndex, HeaderForm& form) const {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    HeaderForm found = HeaderForm::kNone;
    if (line.size() > 10 && StartsWith(line, "-----") && EndsWith(line, "-----") && line[5] != '-' &&
        lines.size() - i > 5) {
      found = HeaderForm::kSeparator;
    } else if (line.size() > 5 && line.find("news:") != std::string::npos && EndsWith(line, "...") &&
               ScanQuotePrefix(line, 0).depth == 0) {
      found = HeaderForm::kNews;
    } else {
      // An attribution is unquoted and has quoted text below it.
      Sender sender;
      if (line.empty() || ScanQuotePrefix(line, 0).depth != 0 || !ParseClientAttribution(line, sender)) continue;
      std::size_t next = i + 1;
      while (next < lines.size() && lines[next].empty()) ++next;
      if (next == lines.size() || ScanQuotePrefix(lines[next], 0).depth == 0) continue;
      found = HeaderForm::kAttribution;
    }
    headerIndex = static_cast<int>(i);
    form = found;
    return true;
  }
  return false;
}
