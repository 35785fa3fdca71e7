// Re-wrapping, rendering and joining broken quotes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <random>

#include "TestText.h"

namespace {

struct Fixture {
  Settings settings = DefaultSettings();
  ReplyFormatter formatter{settings};
  Fixture(int32_t column, bool compressed) {
    settings.wrapColumn = column;
    settings.compressedIndentation = compressed ? 1 : 0;
    formatter.wrapColumn = column;
  }
  std::string Render(const std::vector<int32_t>& depths, const Lines& texts) {
    formatter.lines = texts;
    formatter.depths = depths;
    formatter.quoted.assign(texts.size(), 1);
    std::string body;
    formatter.RenderReply(body);
    return body;
  }
};

TEST(WrapLine, BreaksAtTheLastBlankOrAfterTheLastHyphen) {
  Fixture t(20, false);
  EXPECT_EQ(t.formatter.WrapLine("aaaa bbbb cccc dddd eeee", "> "), "> aaaa bbbb cccc");
  EXPECT_EQ(t.formatter.carry, "dddd eeee ");
  EXPECT_EQ(t.formatter.WrapLine("aaaa bbbb-cccc dddd", "> "), "> aaaa bbbb-cccc");
  EXPECT_EQ(t.formatter.carry, "dddd ");
  t.formatter.wrapColumn = 14;
  EXPECT_EQ(t.formatter.WrapLine("aaaa well-known", "> "), "> aaaa well-");
  EXPECT_EQ(t.formatter.carry, "known ");
}

TEST(WrapLine, AHyphenBreaksOnlyBetweenTwoLetters) {
  struct Case {
    const char* line;
    const char* out;
    const char* carry;
  };
  // Room 12 behind "> ": the hyphen lies inside the room, a blank before it.
  const Case cases[] = {
      {"aaaa well-known", "> aaaa well-", "known "},
      {"aaaa gr\xFC\xDF-\xE9t\xE9", "> aaaa gr\xFC\xDF-", "\xE9t\xE9 "},  // bytes of 0x80 and above are letters
      {"aaaa x->f_path", "> aaaa", "x->f_path "},                         // never a carry that begins with '>'
      {"aaaa a--withh", "> aaaa", "a--withh "},
      {"aaaa :-))))))", "> aaaa", ":-)))))) "},
      {"aaaa x-1-2-34", "> aaaa", "x-1-2-34 "},
      {"aaaa -abcdefgh", "> aaaa", "-abcdefgh "},
      {"-abcdefghijklmn", "> -abcdefghijklmn", ""},  // no blank, no letter before: whole
  };
  for (const Case& c : cases) {
    Fixture t(14, false);
    EXPECT_EQ(t.formatter.WrapLine(c.line, "> "), c.out) << c.line;
    EXPECT_EQ(t.formatter.carry, c.carry) << c.line;
  }
}

TEST(WrapLine, LongWordsAndShortLinesStayWhole) {
  Fixture t(20, false);
  const std::string word(30, 'w');
  EXPECT_EQ(t.formatter.WrapLine(word, "> "), "> " + word);
  EXPECT_EQ(t.formatter.carry, "");
  EXPECT_EQ(t.formatter.WrapLine(" " + word, "> "), "> " + std::string(" ") + word);  // blank at 0: no break
  EXPECT_EQ(t.formatter.WrapLine(std::string(18, 'x'), "> "), "> " + std::string(18, 'x'));
  EXPECT_EQ(t.formatter.carry, "");
  t.formatter.wrapColumn = -3;
  EXPECT_EQ(t.formatter.WrapLine("a b c", "> "), "> a b c");
}

TEST(RenderReply, OverflowFlowsIntoTheNextLineOfTheParagraph) {
  Fixture t(20, false);
  EXPECT_EQ(t.Render({1, 1}, {"aaaa bbbb cccc dddd eeee", "ffff"}), "> aaaa bbbb cccc\n> dddd eeee ffff");
  EXPECT_EQ(t.Render({1, 0}, {"aaaa bbbb cccc dddd eeee", "xx"}), "> aaaa bbbb cccc\n> dddd eeee \nxx");
  EXPECT_EQ(t.Render({1, 1}, {"aaaa bbbb cccc dddd eeee", ""}), "> aaaa bbbb cccc\n> dddd eeee \n> ");
  EXPECT_EQ(t.Render({1}, {"aaaa bbbb cccc dddd eeee"}), "> aaaa bbbb cccc\n> dddd eeee ");
}

TEST(RenderReply, PrefixForms) {
  Fixture plain(20, false);
  EXPECT_EQ(plain.Render({2, 1, 3, 0}, {"a", "b", "c", "d"}), "> > a\n> b\n> > > c\nd");
  Fixture compressed(20, true);
  EXPECT_EQ(compressed.Render({2, 1, 3, 0}, {"a", "b", "c", "d"}), ">> a\n> b\n>>> c\nd");
  compressed.settings.quoteChar = ':';
  EXPECT_EQ(compressed.Render({2}, {"a"}), ":: a");
}

TEST(RenderReply, BaseDepthOneEndsTheParagraphAtEveryDepthOneLine) {
  Fixture t(20, false);
  t.formatter.baseDepth = 1;
  EXPECT_EQ(t.Render({1, 1}, {"aaaa bbbb cccc dddd eeee", "ffff"}), "> aaaa bbbb cccc\n> dddd eeee \n> ffff");
  EXPECT_EQ(t.Render({2, 2}, {"aaaa bbbb cccc dddd eeee", "ffff"}), "> > aaaa bbbb cccc\n> > dddd eeee ffff");
}

// A plain transcription of the wrapping rules, copying strings as it goes;
// the engine's buffered version must produce the same bytes.
struct ReferenceRenderer {
  long long column;
  std::string carry;
  std::string Wrap(std::string line, const std::string& prefix) {  // line by value: it may be the carry
    const long long room = column - static_cast<long long>(prefix.size());
    if (static_cast<long long>(line.size()) <= room) {
      carry.clear();
      return prefix + line;
    }
    const std::string head = room > 0 ? line.substr(0, static_cast<std::size_t>(room)) : std::string();
    long long p = static_cast<long long>(head.rfind(' '));
    if (head.rfind(' ') == std::string::npos) p = -1;
    // A hyphen breaks only between two letters.
    for (long long q = static_cast<long long>(head.size()) - 1; q > p; --q) {
      const auto at = static_cast<std::size_t>(q);
      if (line[at] == '-' && q > 0 && std::isalpha(static_cast<unsigned char>(line[at - 1])) &&
          std::isalpha(static_cast<unsigned char>(line[at + 1]))) {
        p = q + 1;
        break;
      }
    }
    if (p <= 0) {
      carry.clear();
      return prefix + line;
    }
    carry = line.substr(static_cast<std::size_t>(p)) + " ";
    carry.erase(0, carry.find_first_not_of(" \t\r\n\v\f"));
    if (carry.find_first_not_of(" \t\r\n\v\f") == std::string::npos) carry.clear();
    return prefix + line.substr(0, static_cast<std::size_t>(p));
  }
};

TEST(RenderReply, MatchesAPlainTranscriptionOnRandomText) {
  std::mt19937 rng(1234);
  const char alphabet[] = "aaaaabbbcc  --\t:>";
  for (int round = 0; round < 300; ++round) {
    const int column = static_cast<int>(rng() % 30) - 3;
    Fixture t(column, round % 2 == 0);
    t.formatter.baseDepth = static_cast<unsigned char>(round % 3 == 0 ? 1 : 0);
    Lines texts;
    std::vector<int32_t> depths;
    const int count = static_cast<int>(rng() % 12) + 1;
    for (int i = 0; i < count; ++i) {
      std::string s;
      const int len = static_cast<int>(rng() % 40);
      for (int k = 0; k < len; ++k) s += alphabet[rng() % (sizeof alphabet - 1)];
      texts.push_back(s);
      depths.push_back(static_cast<int32_t>(rng() % 3));
    }
    const std::string got = t.Render(depths, texts);

    ReferenceRenderer ref{column, {}};
    std::string want;
    std::string prefix;
    int previous = -1;
    for (std::size_t i = 0; i < texts.size(); ++i) {
      if (i > 0) want += '\n';
      const bool ended =
          (i > 0 && (depths[i] != previous || texts[i].empty())) || (t.formatter.baseDepth == 1 && depths[i] == 1);
      if (ended)
        while (!ref.carry.empty()) want += ref.Wrap(ref.carry, prefix) + "\n";
      if (depths[i] != previous) prefix = t.formatter.BuildPrefix(depths[i]);
      previous = depths[i];
      want += ref.Wrap(ref.carry + texts[i], prefix);
    }
    while (!ref.carry.empty()) want += "\n" + ref.Wrap(ref.carry, prefix);
    ASSERT_EQ(got, want) << "round " << round;
  }
}

TEST(JoinBrokenQuotes, TwoLineJoinNeedsLength) {
  Fixture t(72, false);
  t.formatter.lines = {std::string(40, 'a'), std::string(30, 'b'), "c"};
  t.formatter.depths = {2, 1, 2};
  t.formatter.quoted = {1, 1, 1};
  t.formatter.JoinBrokenQuotes();
  EXPECT_EQ(t.formatter.lines, (Lines{std::string(40, 'a') + " " + std::string(30, 'b'), "c"}));
  EXPECT_EQ(t.formatter.depths, (std::vector<int32_t>{2, 2}));
  EXPECT_EQ(t.formatter.quoted.size(), 2u);

  t.formatter.lines = {std::string(30, 'a'), std::string(30, 'b'), "c"};
  t.formatter.depths = {2, 1, 2};
  t.formatter.quoted = {1, 1, 1};
  t.formatter.JoinBrokenQuotes();
  EXPECT_EQ(t.formatter.lines.size(), 3u);
}

TEST(JoinBrokenQuotes, TwoLineJoinNeedsTheFirstWordNotToHaveFitted) {
  // The sender's own paragraph below a short quoted line is not the rest of
  // a broken line: its first word would have fitted above.
  Fixture t(72, true);
  t.formatter.lines = {"Did you get the invoice for the last delivery? It should have been in the", "parcel.",
                       "If not, I will send it again.",
                       "Hello Bob, did the shipment arrive on time? We sent it on Friday with the usual carrier.", ""};
  t.formatter.depths = {2, 1, 2, 1, 0};
  t.formatter.quoted = {1, 1, 1, 1, 1};
  t.formatter.JoinBrokenQuotes();
  EXPECT_EQ(t.formatter.lines[0], "Did you get the invoice for the last delivery? It should have been in the parcel.");
  EXPECT_EQ(t.formatter.depths, (std::vector<int32_t>{2, 2, 1, 0}));
  // The test is "greater than 70": a first word that just fits (64 + 1 + 3
  // + 2 = 70) stays; one more character joins, even for a one-word line.
  for (const auto& [above, joined] : {std::pair{64, false}, std::pair{65, true}}) {
    t.formatter.lines = {std::string(static_cast<std::size_t>(above), 'a'), "bbb ccc ddd eee fff ggg hhh", "x"};
    t.formatter.depths = {1, 0, 1};
    t.formatter.quoted = {1, 1, 1};
    t.formatter.JoinBrokenQuotes();
    EXPECT_EQ(t.formatter.lines.size(), joined ? 2u : 3u) << above;
  }
}

TEST(JoinBrokenQuotes, ThreeLineJoinAndEmptyLineCase) {
  Fixture t(72, true);
  t.formatter.lines = {"a", "b", "c", "d"};
  t.formatter.depths = {3, 1, 2, 3};
  t.formatter.quoted = {1, 1, 1, 1};
  t.formatter.JoinBrokenQuotes();
  EXPECT_EQ(t.formatter.lines, (Lines{"a b c", "d"}));
  EXPECT_EQ(t.formatter.depths, (std::vector<int32_t>{3, 3}));

  t.formatter.lines = {std::string(40, 'a'), std::string(30, 'b'), ""};
  t.formatter.depths = {2, 1, 0};
  t.formatter.quoted = {1, 1, 1};
  t.formatter.JoinBrokenQuotes();
  EXPECT_EQ(t.formatter.lines.size(), 2u);
}

// A transcription that erases lines one by one; the engine compacts in one
// pass and must agree with it.
void ReferenceJoin(Lines& lines, std::vector<int32_t>& d, std::vector<unsigned char>& q, bool compressed) {
  auto width = [compressed](long long depth) { return compressed ? depth + 1 : 2 * depth + 1; };
  auto firstWord = [](const std::string& line) {
    const std::size_t start = line.find_first_not_of(' ');
    return start == std::string::npos ? line.size() : std::min(line.find(' ', start), line.size());
  };
  std::size_t i = 1;
  while (i + 1 < lines.size()) {
    if (d[i - 1] > d[i] && (d[i + 1] == d[i - 1] || (lines[i + 1].empty() && d[i + 1] == 0 && d[i] != 0)) &&
        static_cast<long long>(lines[i - 1].size() + 1 + firstWord(lines[i])) + width(d[i - 1]) > 70) {
      lines[i - 1] += " " + lines[i];
      lines.erase(lines.begin() + static_cast<long>(i));
      d.erase(d.begin() + static_cast<long>(i));
      q.erase(q.begin() + static_cast<long>(i));
    }
    if (i + 2 < lines.size() && d[i - 1] > d[i] && d[i + 1] > d[i] && d[i + 2] > d[i + 1] && d[i + 2] == d[i - 1]) {
      lines[i - 1] += " " + lines[i] + " " + lines[i + 1];
      lines.erase(lines.begin() + static_cast<long>(i), lines.begin() + static_cast<long>(i + 2));
      d.erase(d.begin() + static_cast<long>(i), d.begin() + static_cast<long>(i + 2));
      q.erase(q.begin() + static_cast<long>(i), q.begin() + static_cast<long>(i + 2));
    }
    ++i;
  }
}

TEST(JoinBrokenQuotes, MatchesAPlainTranscriptionOnRandomDepths) {
  std::mt19937 rng(99);
  for (int round = 0; round < 500; ++round) {
    Fixture t(72, round % 2 == 1);
    Lines lines;
    std::vector<int32_t> depths;
    std::vector<unsigned char> quoted;
    const int count = static_cast<int>(rng() % 14);
    for (int i = 0; i < count; ++i) {
      const int len = rng() % 4 == 0 ? 0 : static_cast<int>(rng() % 50);
      lines.push_back(std::string(static_cast<std::size_t>(len), static_cast<char>('a' + i % 26)));
      depths.push_back(static_cast<int32_t>(rng() % 4));
      quoted.push_back(static_cast<unsigned char>(rng() % 2));
    }
    t.formatter.lines = lines;
    t.formatter.depths = depths;
    t.formatter.quoted = quoted;
    t.formatter.JoinBrokenQuotes();
    ReferenceJoin(lines, depths, quoted, round % 2 == 1);
    ASSERT_EQ(t.formatter.lines, lines) << "round " << round;
    ASSERT_EQ(t.formatter.depths, depths) << "round " << round;
    ASSERT_EQ(t.formatter.quoted, quoted) << "round " << round;
  }
}

}  // namespace
