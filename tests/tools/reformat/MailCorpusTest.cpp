// Replies as today's mail carries them (corpus/README.md names the shapes),
// run through the filter in mail mode and checked against what any sound
// reformatting keeps, not against stored output.  The checks read the text
// with rules of their own, written from the mail, not from the engine.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "ReformatFilter.h"
#include "engine/unicode/Utf8Measure.h"

namespace {

// ---- Reading a body ---------------------------------------------------------

// One line as a reader sees it: with format=flowed the physical lines joined
// at their soft breaks.
struct MailLine {
  int depth = 0;
  std::string text;                  // without its quote prefix and trailing blanks
  std::vector<std::string> written;  // the physical lines, prefixes included
};

std::string TrimEnd(std::string s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.pop_back();
  return s;
}

// A draft quotes as "> > text" or ">> text"; flowed text counts the '>' and
// drops one blank after them (the quote marks of RFC 3676, then stuffing).
void SplitPrefix(const std::string& line, bool flowed, int& depth, std::string& text) {
  std::size_t pos = 0;
  depth = 0;
  while (pos < line.size() && line[pos] == '>') {
    ++depth;
    ++pos;
    if (!flowed && pos < line.size() && line[pos] == ' ') ++pos;
  }
  if (flowed && pos < line.size() && line[pos] == ' ') ++pos;
  text = line.substr(pos);
}

std::vector<MailLine> ReadBody(const std::string& body, bool flowed) {
  std::vector<MailLine> lines;
  bool open = false;  // the last flowed line ended in a soft break
  std::size_t pos = 0;
  while (pos <= body.size()) {
    std::size_t end = body.find('\n', pos);
    if (end == std::string::npos) end = body.size();
    std::string physical = body.substr(pos, end - pos);
    if (!physical.empty() && physical.back() == '\r') physical.pop_back();
    pos = end + 1;
    if (end == body.size() && physical.empty()) break;
    int depth;
    std::string text;
    SplitPrefix(physical, flowed, depth, text);
    const bool soft = flowed && !text.empty() && text.back() == ' ' && text != "-- ";
    if (open && lines.back().depth == depth) {
      lines.back().text += text;
      lines.back().written.push_back(TrimEnd(physical));
    } else {
      lines.push_back(MailLine{depth, text, {TrimEnd(physical)}});
    }
    open = soft;
  }
  for (MailLine& line : lines) line.text = TrimEnd(line.text);
  return lines;
}

// ---- Characters and words ---------------------------------------------------

char32_t NextCodePoint(const std::string& s, std::size_t& i) {
  const unsigned char lead = static_cast<unsigned char>(s[i]);
  const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
  char32_t c = length == 1 ? lead : length == 2 ? lead & 0x1F : length == 3 ? lead & 0x0F : lead & 0x07;
  for (int k = 1; k < length && i + k < s.size(); ++k) c = (c << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
  i += static_cast<std::size_t>(length);
  return c;
}

// East Asian wide characters, as far as the corpus uses them.
bool IsWide(char32_t c) {
  return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF && c != 0x303F) || (c >= 0xAC00 && c <= 0xD7A3) ||
         (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
         (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x1F300 && c <= 0x1FAFF) || (c >= 0x20000 && c <= 0x3FFFD);
}

std::size_t Columns(const std::string& s) {
  std::size_t columns = 0;
  for (std::size_t i = 0; i < s.size();) columns += IsWide(NextCodePoint(s, i)) ? 2 : 1;
  return columns;
}

// Words are what lies between blanks; Chinese and Japanese text may be
// broken between any two characters, so each wide character is a word.
std::vector<std::string> Words(const std::string& s) {
  std::vector<std::string> words;
  std::string word;
  for (std::size_t i = 0; i < s.size();) {
    const std::size_t start = i;
    const char32_t c = NextCodePoint(s, i);
    if (c == ' ' || c == '\t' || IsWide(c)) {
      if (!word.empty()) words.push_back(word);
      word.clear();
      if (IsWide(c)) words.push_back(s.substr(start, i - start));
    } else {
      word.append(s, start, i - start);
    }
  }
  if (!word.empty()) words.push_back(word);
  return words;
}

// ---- What a quoted line is --------------------------------------------------

// Reads a text from left to right.
struct Scan {
  const std::string& s;
  std::size_t at = 0;

  bool End() const { return at >= s.size(); }
  bool Skip(const char* literal) {
    const std::size_t n = std::strlen(literal);
    if (s.compare(at, n, literal) != 0) return false;
    at += n;
    return true;
  }
  std::size_t Blanks() {
    const std::size_t from = at;
    while (!End() && s[at] == ' ') ++at;
    return at - from;
  }
  // A decimal number of at most `most` digits.
  bool Number(int& value, std::size_t most = 9) {
    const std::size_t from = at;
    value = 0;
    while (!End() && s[at] >= '0' && s[at] <= '9' && at - from < most) value = value * 10 + (s[at++] - '0');
    return at > from && (End() || s[at] < '0' || s[at] > '9');
  }
};

// "@@ -a[,b] +c[,d] @@ ...": the counts b and d (1 when left out).
bool ReadHunkHeader(const std::string& text, int& oldCount, int& newCount) {
  Scan scan{text};
  int start;
  oldCount = newCount = 1;
  return scan.Skip("@@ -") && scan.Number(start) && (!scan.Skip(",") || scan.Number(oldCount)) && scan.Skip(" +") &&
         scan.Number(start) && (!scan.Skip(",") || scan.Number(newCount)) && scan.Skip(" @@");
}

// " path | 12 +++--", " path | Bin 0 -> 12 bytes", " 3 files changed, ...".
bool IsDiffstat(const std::string& text) {
  Scan scan{text};
  int count;
  if (scan.Skip(" ") && scan.Number(count) && (scan.Skip(" files changed") || scan.Skip(" file changed"))) return true;
  if (text.size() < 2 || text[0] != ' ' || text[1] == ' ') return false;
  scan.at = text.find(" |");
  if (scan.at == std::string::npos) return false;
  scan.at += 2;
  if (scan.Blanks() == 0) return false;
  if (scan.Skip("Bin ")) return true;
  if (!scan.Number(count)) return false;
  scan.Skip(" ");
  while (!scan.End() && (text[scan.at] == '+' || text[scan.at] == '-')) ++scan.at;
  return scan.End();
}

bool IsTrailer(const std::string& text) {
  static const char* const kKeys[] = {
      "Signed-off-by: ", "Acked-by: ",        "Reviewed-by: ", "Tested-by: ", "Reported-by: ",
      "Suggested-by: ",  "Co-developed-by: ", "Cc: ",          "Fixes: ",     "Link: "};
  for (const char* key : kKeys)
    if (text.compare(0, std::strlen(key), key) == 0) return true;
  return false;
}

// "| a | b |", "|---|---|" or "+-----+-----+".
bool IsTableRow(const std::string& text) {
  const std::size_t at = text.find_first_not_of(' ');
  if (at == std::string::npos) return false;
  if (text[at] == '|') return true;
  return text[at] == '+' && text.back() == '+' && text.size() - at >= 2 &&
         text.find_first_not_of("-=+", at) == std::string::npos;
}

// Where the text of a list item begins ("- ", "* ", "+ ", "1. ", "1) ",
// "a) " after at most three blanks), or npos.
std::size_t ItemText(const std::string& text) {
  Scan scan{text};
  int number;
  if (scan.Blanks() > 3 || scan.End()) return std::string::npos;
  const char c = text[scan.at];
  if (c == '-' || c == '*' || c == '+') {
    ++scan.at;
  } else if (scan.Number(number, 3)) {
    if (!scan.Skip(".") && !scan.Skip(")")) return std::string::npos;
  } else if (c >= 'a' && c <= 'z' && scan.at + 1 < text.size() && text[scan.at + 1] == ')') {
    scan.at += 2;
  } else {
    return std::string::npos;
  }
  if (!scan.Skip(" ") || scan.End() || text[scan.at] == ' ') return std::string::npos;
  return scan.at;
}

enum class Shape { kProse, kKept, kListItem };

// Tells kept lines (patches, diffstat, code, trailers, tables) and list
// items from prose.  A hunk is followed line by line through the counts of
// its header; each quote depth has its own patch.
class ShapeReader {
public:
  Shape Read(int depth, const std::string& text) {
    Patch& patch = patches_[depth];
    int oldCount, newCount;
    if (ReadHunkHeader(text, oldCount, newCount)) {
      patch = Patch{oldCount, newCount, false};
      return Shape::kKept;
    }
    if (patch.oldLeft > 0 || patch.newLeft > 0) {
      const char c = text.empty() ? ' ' : text[0];
      if (c == ' ' || c == '-' || c == '+') {
        if (c != '+') --patch.oldLeft;
        if (c != '-') --patch.newLeft;
        return Shape::kKept;
      }
      patch.oldLeft = patch.newLeft = 0;  // a reviewer cut the hunk short
    }
    if (text.compare(0, 2, "\\ ") == 0) return Shape::kKept;  // "\ No newline at end of file"
    if (text.compare(0, 11, "diff --git ") == 0) patch.header = true;
    if (patch.header && !text.empty()) return Shape::kKept;  // index, mode and file lines
    patch.header = false;
    if (text == "---" || IsDiffstat(text) || IsTrailer(text) || IsTableRow(text) || text.compare(0, 1, "\t") == 0 ||
        text.compare(0, 4, "    ") == 0)
      return Shape::kKept;
    return ItemText(text) != std::string::npos ? Shape::kListItem : Shape::kProse;
  }

private:
  struct Patch {
    int oldLeft = 0;
    int newLeft = 0;
    bool header = false;
  };
  std::map<int, Patch> patches_;
};

// ---- The invariants ---------------------------------------------------------

struct Draft {
  std::string header;  // the header block and its empty line
  std::vector<MailLine> lines;
};

Draft ReadDraft(const std::string& message, bool flowed) {
  const std::size_t end = message.find("\n\n");
  const std::size_t bodyStart = end == std::string::npos ? 0 : end + 2;
  return Draft{message.substr(0, bodyStart), ReadBody(message.substr(bodyStart), flowed)};
}

// The value of a header field of the corpus case, or empty.
std::string HeaderField(const std::string& header, const std::string& name) {
  const std::size_t at = header.find("\n" + name + ": ");
  if (at == std::string::npos) return std::string();
  const std::size_t from = at + name.size() + 3;
  return header.substr(from, header.find('\n', from) - from);
}

std::size_t FirstQuoted(const std::vector<MailLine>& lines) {
  std::size_t i = 0;
  while (i < lines.size() && lines[i].depth == 0) ++i;
  return i;
}

// The quoted sender's signature: from the last "-- " of depth 1 down to an
// empty quoted line or a change of depth.
std::pair<std::size_t, std::size_t> QuotedSignature(const std::vector<MailLine>& lines) {
  for (std::size_t e = lines.size(); e-- > 0;) {
    if (lines[e].depth != 1 || lines[e].text != "--") continue;
    std::size_t m = e + 1;
    while (m < lines.size() && lines[m].depth == 1 && !lines[m].text.empty()) ++m;
    while (m < lines.size() && lines[m].depth == 1 && lines[m].text.empty()) ++m;
    return {e, m};
  }
  return {lines.size(), lines.size()};
}

// A line a mail client broke when it quoted a long line ("comb"): between a
// deeper line and one of the same depth (or the end of the quote), its
// first word would not have fitted on the line above, which is short
// enough to have been broken by a client (80 columns).  Its words may join
// the line above; every other word keeps its depth.
std::vector<int> CombDepths(const std::vector<MailLine>& l) {
  std::vector<int> may(l.size(), -1);
  for (std::size_t i = 1; i + 1 < l.size(); ++i) {
    const std::vector<std::string> first = Words(l[i].text);
    const std::size_t above = Columns(l[i - 1].text) + static_cast<std::size_t>(l[i - 1].depth) + 1;
    const bool between =
        l[i + 1].depth == l[i - 1].depth || (l[i + 1].text.empty() && l[i + 1].depth == 0 && l[i].depth != 0);
    if (l[i - 1].depth > l[i].depth && between && !first.empty() && above <= 80 && above + 1 + Columns(first[0]) > 70)
      may[i] = l[i - 1].depth;
    if (i + 2 < l.size() && l[i - 1].depth > l[i].depth && l[i + 1].depth > l[i].depth &&
        l[i + 2].depth > l[i + 1].depth && l[i + 2].depth == l[i - 1].depth)
      may[i] = may[i + 1] = l[i - 1].depth;
  }
  return may;
}

struct QuotedWord {
  std::string word;
  int depth;
  int mayJoin;  // the depth a comb-broken line may take, or -1
};

std::string Show(const std::vector<QuotedWord>& words, std::size_t at) {
  std::string s;
  for (std::size_t i = at > 3 ? at - 3 : 0; i < words.size() && i < at + 4; ++i)
    s += (i == at ? "[" : "") + words[i].word + (i == at ? "] " : " ");
  return s;
}

// Checks one reformatted draft against its input; returns what it broke.
std::vector<std::string> CheckReply(const std::string& input, const std::string& output, bool flowed,
                                    std::size_t column) {
  std::vector<std::string> faults;
  const Draft in = ReadDraft(input, flowed);
  const Draft out = ReadDraft(output, flowed);
  if (out.header != in.header) faults.push_back("the header block changed");

  // What the input holds: quoted words, kept lines, list items and URLs,
  // outside the quoted signature.
  const auto signature = QuotedSignature(in.lines);
  const std::vector<int> comb = CombDepths(in.lines);
  std::vector<QuotedWord> quotedIn;
  std::vector<const MailLine*> kept;
  std::vector<const MailLine*> items;
  std::vector<std::string> urls;
  ShapeReader shapes;
  for (std::size_t i = 0; i < in.lines.size(); ++i) {
    const MailLine& line = in.lines[i];
    if (line.depth == 0 || (i >= signature.first && i < signature.second)) continue;
    const Shape shape = shapes.Read(line.depth, line.text);
    // An empty line of a hunk may go with the other empty lines at the end
    // of a quoted block.
    if (shape == Shape::kKept && !line.text.empty()) kept.push_back(&line);
    if (shape == Shape::kListItem) items.push_back(&line);
    for (const std::string& w : Words(line.text)) {
      quotedIn.push_back(QuotedWord{w, line.depth, comb[i]});
      if (w.find("://") != std::string::npos) urls.push_back(w);
    }
  }

  std::vector<QuotedWord> quotedOut;
  for (const MailLine& line : out.lines)
    if (line.depth > 0)
      for (const std::string& w : Words(line.text)) quotedOut.push_back(QuotedWord{w, line.depth, -1});

  // 1. Every quoted word comes back whole, in order, at its own depth.
  std::size_t n = 0;
  while (n < quotedIn.size() && n < quotedOut.size() && quotedIn[n].word == quotedOut[n].word) ++n;
  if (n < quotedIn.size() || n < quotedOut.size()) {
    faults.push_back("quoted words differ at word " + std::to_string(n) + ": in: " + Show(quotedIn, n) +
                     " out: " + Show(quotedOut, n));
  } else {
    for (std::size_t i = 0; i < n; ++i) {
      const QuotedWord& w = quotedIn[i];
      if (quotedOut[i].depth != w.depth && quotedOut[i].depth != w.mayJoin) {
        faults.push_back("\"" + w.word + "\" went from depth " + std::to_string(w.depth) + " to " +
                         std::to_string(quotedOut[i].depth) + ": " + Show(quotedIn, i));
        break;
      }
    }
  }

  // 2. Kept lines come back as they were, each a line of its own.
  std::vector<bool> keptOut(out.lines.size(), false);
  std::size_t from = 0;
  for (const MailLine* line : kept) {
    std::size_t j = from;
    while (j < out.lines.size() && (out.lines[j].depth != line->depth || out.lines[j].text != line->text)) ++j;
    if (j == out.lines.size()) {
      faults.push_back("kept line changed: " + line->written.front());
    } else {
      keptOut[j] = true;
      from = j + 1;
    }
  }

  // 3. Every list item begins a line.
  from = 0;
  for (const MailLine* item : items) {
    const std::vector<std::string> head = Words(item->text);
    std::size_t j = from;
    for (; j < out.lines.size(); ++j) {
      const std::vector<std::string> w = Words(out.lines[j].text);
      if (out.lines[j].depth == item->depth && w.size() >= 2 && w[0] == head[0] && w[1] == head[1]) break;
    }
    if (j == out.lines.size()) {
      faults.push_back("list item does not begin a line: " + item->written.front());
    } else {
      from = j + 1;
    }
  }

  // 4. Every URL stands on one line.
  from = 0;
  std::vector<const std::string*> written;
  for (const MailLine& line : out.lines)
    if (line.depth > 0)
      for (const std::string& w : line.written) written.push_back(&w);
  for (const std::string& url : urls) {
    std::size_t j = from;
    while (j < written.size() && written[j]->find(url) == std::string::npos) ++j;
    if (j == written.size()) {
      faults.push_back("URL broken: " + url);
    } else {
      from = j;
    }
  }

  // 5. Every other quoted line fits the column, unless it is one word (after
  // a list marker) that is wider than the room.
  for (std::size_t j = 0; j < out.lines.size(); ++j) {
    if (out.lines[j].depth == 0 || keptOut[j]) continue;
    for (const std::string& w : out.lines[j].written) {
      int depth;
      std::string text;
      SplitPrefix(w, flowed, depth, text);
      text = TrimEnd(text);
      std::size_t word = ItemText(text);
      if (word == std::string::npos) word = text.find_first_not_of(' ');
      const bool oneWord = word == std::string::npos || text.find(' ', word) == std::string::npos;
      if (Columns(w) > column && !oneWord) faults.push_back("wider than " + std::to_string(column) + ": " + w);
    }
  }

  // 6. The attribution is one line naming the sender, and the user's own
  // words all stay the user's.  The input's attribution is the unquoted
  // paragraph right above the quote; the output's, the line right above it.
  const std::size_t qIn = FirstQuoted(in.lines);
  const std::size_t qOut = FirstQuoted(out.lines);
  std::size_t attribution = qIn;
  while (attribution > 0 && in.lines[attribution - 1].text.empty()) --attribution;
  const std::size_t attributionEnd = attribution;
  while (attribution > 0 && !in.lines[attribution - 1].text.empty()) --attribution;
  const std::string expected = HeaderField(in.header, "X-Corpus-Attribution");
  if (!expected.empty() && (qOut == 0 || qOut == out.lines.size() || out.lines[qOut - 1].text != expected))
    faults.push_back("attribution is not \"" + expected + "\"");
  std::vector<std::string> ownIn;
  std::vector<std::string> ownOut;
  for (std::size_t i = 0; i < in.lines.size(); ++i)
    if (in.lines[i].depth == 0 && (i < attribution || i >= attributionEnd))
      for (const std::string& w : Words(in.lines[i].text)) ownIn.push_back(w);
  for (std::size_t i = 0; i < out.lines.size(); ++i)
    if (out.lines[i].depth == 0 && i + 1 != qOut)
      for (const std::string& w : Words(out.lines[i].text)) ownOut.push_back(w);
  std::sort(ownIn.begin(), ownIn.end());
  std::sort(ownOut.begin(), ownOut.end());
  if (ownIn != ownOut) faults.push_back("the user's own words changed");
  return faults;
}

// The user's own text stays apart from the quote by an empty line, as it
// is in every case; only the attribution sits right above the quote.
std::vector<std::string> CheckOwnTextApart(const std::string&, const std::string& output, bool flowed, std::size_t) {
  std::vector<std::string> faults;
  const Draft out = ReadDraft(output, flowed);
  const std::size_t qOut = FirstQuoted(out.lines);
  for (std::size_t i = 1; i < out.lines.size(); ++i) {
    const MailLine& above = out.lines[i - 1];
    const MailLine& line = out.lines[i];
    if (i != qOut && (above.depth == 0) != (line.depth == 0) && !above.text.empty() && !line.text.empty())
      faults.push_back("own text and quote meet without an empty line: " + line.written.front());
  }
  return faults;
}

// ---- The corpus -------------------------------------------------------------

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

struct FilterRun {
  int status = -1;
  std::string out;
  std::string messages;
};

FilterRun Filter(const std::vector<std::string>& args, const std::string& input) {
  std::vector<const char*> argv{"kelvane-reformat"};
  for (const std::string& a : args) argv.push_back(a.c_str());
  FilterRun run;
  std::FILE* in = std::tmpfile();
  std::FILE* out = std::tmpfile();
  if (in != nullptr && out != nullptr) {
    std::fwrite(input.data(), 1, input.size(), in);
    std::rewind(in);
    FilterEnvironment environment;
    environment.utf8 = &Utf8Measure();
    environment.localeIsUtf8 = true;  // as under LC_ALL=C.UTF-8
    run.status = RunReformatFilter(static_cast<int>(argv.size()), argv.data(), in, out, run.messages, environment);
    std::rewind(out);
    char chunk[4096];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, out)) > 0) run.out.append(chunk, got);
  }
  if (in != nullptr) std::fclose(in);
  if (out != nullptr) std::fclose(out);
  return run;
}

using Check = std::vector<std::string> (*)(const std::string& input, const std::string& output, bool flowed,
                                           std::size_t column);

// Runs every case of a shape at two columns and reports what `check` finds.
void CheckShape(const std::string& shape, Check check) {
  const std::filesystem::path folder = std::filesystem::path(KELVANE_MAIL_CORPUS) / shape;
  std::vector<std::filesystem::path> cases;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    if (entry.path().extension() == ".eml") cases.push_back(entry.path());
  std::sort(cases.begin(), cases.end());
  ASSERT_FALSE(cases.empty()) << folder;
  const bool flowed = shape == "flowed";
  for (const auto& path : cases) {
    const std::string input = ReadFile(path);
    for (const int column : {72, 48}) {
      std::vector<std::string> args{"--mail", "--report", "--set", "wrapColumn=" + std::to_string(column)};
      if (flowed) args.push_back("--flowed");
      const FilterRun run = Filter(args, input);
      ASSERT_EQ(run.status, kFilterOk) << path << ": " << run.messages;
      // A reply whose attribution is not found comes back untouched.
      EXPECT_EQ(run.messages.compare(0, 9, "result 0 "), 0) << path.filename() << ": " << run.messages;
      const std::vector<std::string> faults = check(input, run.out, flowed, static_cast<std::size_t>(column));
      std::string shown;
      for (std::size_t i = 0; i < faults.size() && i < 12; ++i) shown += "  " + faults[i] + "\n";
      if (faults.size() > 12) shown += "  and " + std::to_string(faults.size() - 12) + " more\n";
      EXPECT_TRUE(faults.empty()) << path.filename().string() << " at column " << column << ":\n"
                                  << shown << "reformatted:\n"
                                  << run.out;
    }
  }
}

class MailCorpus : public testing::TestWithParam<const char*> {};

TEST_P(MailCorpus, RepliesKeepTheirInvariants) {
  CheckShape(GetParam(), CheckReply);
}

TEST_P(MailCorpus, OwnTextStaysApartFromTheQuote) {
  CheckShape(GetParam(), CheckOwnTextApart);
}

INSTANTIATE_TEST_SUITE_P(Shapes, MailCorpus,
                         testing::Values("patch", "review", "top-posts", "lists-urls", "cjk", "comb", "flowed"),
                         [](const testing::TestParamInfo<const char*>& shape) {
                           std::string name = shape.param;
                           std::replace(name.begin(), name.end(), '-', '_');
                           return name;
                         });

}  // namespace
