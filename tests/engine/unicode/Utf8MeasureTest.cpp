// UTF-8 text through the engine: display columns, whole clusters, breaks
// between Chinese and Japanese characters, and the same breaks as the bytes
// measure wherever every character takes one column.
#include <gtest/gtest.h>

#include <string>

#include "engine/QuotedTextRequoter.h"
#include "engine/ReplyFormatter.h"
#include "engine/unicode/Utf8Measure.h"
#include "tests/engine/TestText.h"

namespace {

// Re-quotes `text` (quoted lines) at `column` with the given measure.
std::string Requote(const std::string& text, int column, const TextMeasure* measure) {
  Settings settings = DefaultSettings();
  settings.wrapColumn = column;
  TextForm form;
  form.measure = measure;
  ReplyFormatter formatter(settings, form);
  formatter.SplitLines(text);
  formatter.MeasureQuoteDepth();
  formatter.JoinBrokenQuotes();
  std::string out;
  formatter.RenderReply(out);
  return out;
}

std::string Latin1ToUtf8(const std::string& latin1) {
  std::string out;
  for (const char ch : latin1) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x80) {
      out += ch;
    } else {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

const TextMeasure& U() {
  return Utf8Measure();
}

TEST(Utf8Measure, WidthsAndClusters) {
  EXPECT_EQ(U().Width("abc", 3), 3);
  EXPECT_EQ(U().Width("Gr\xC3\xBC\xC3\x9F"
                      "e",
                      7),
            5);  // precomposed
  EXPECT_EQ(U().Width("Gru\xCC\x88\xC3\x9F"
                      "e",
                      8),
            5);                                                    // u + combining diaeresis
  EXPECT_EQ(U().Width("\xE6\x97\xA5\xE6\x9C\xAC", 6), 4);          // two wide ideographs
  EXPECT_EQ(U().Width("\xEF\xBC\xA1", 3), 2);                      // fullwidth A
  EXPECT_EQ(U().Width("\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD", 8), 2);  // emoji with skin tone: one cluster
  EXPECT_EQ(U().Width("a\xFF"
                      "b",
                      3),
            3);  // an ill-formed byte is one column
  // A blank followed by a combining mark is no break opportunity, and a
  // cluster is never cut: the break falls before "e" + U+0301.
  const std::string text =
      "xx \xCC\x81yy zz e\xCC\x81\xCC\x81"
      "eee";
  const LineFit fit = U().Fit(text.data(), text.size(), 8, BreakRule::kReply);
  EXPECT_FALSE(fit.fits);
  EXPECT_EQ(text.substr(0, fit.breakAt), "xx \xCC\x81yy");
  // The latest opportunity wins whether it is a blank, a hyphen or a break
  // between wide characters: 日本語-abc, ab 日本 cd.
  const std::string hyphen = "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E-abc def";
  EXPECT_EQ(hyphen.substr(0, U().Fit(hyphen.data(), hyphen.size(), 7, BreakRule::kReply).breakAt),
            "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E-");
  const std::string wide = "ab \xE6\x97\xA5\xE6\x9C\xAC cd";
  EXPECT_EQ(wide.substr(0, U().Fit(wide.data(), wide.size(), 7, BreakRule::kReply).breakAt), "ab \xE6\x97\xA5");
  EXPECT_EQ(wide.substr(0, U().Fit(wide.data(), wide.size(), 7, BreakRule::kFlowed).breakAt), "ab ");
}

TEST(Utf8Measure, OneColumnTextBreaksWhereBytesDo) {
  const std::string latin1 =
      "> Sch\xF6ne Gr\xFC\xDF"
      "e aus M\xFCnchen, \xFC"
      "ber die Br\xFC"
      "cke gehen wir morgen fr\xFCh gemeinsam "
      "zur B\xE4"
      "ckerei, dann weiter-gehen wir \xE0 la fran\xE7"
      "aise.\n"
      "> > \xBF"
      "Ma\xF1"
      "ana? S\xED, se\xF1or, ma\xF1"
      "ana por la tarde en la plaza mayor.\n>\n> Fin.";
  for (const int column : {20, 33, 40, 72}) {
    const std::string bytes = Requote(latin1, column, nullptr);
    EXPECT_EQ(Requote(Latin1ToUtf8(latin1), column, &U()), Latin1ToUtf8(bytes)) << column;
  }
  // At column 40 the German line holds more than 33 characters in UTF-8.
  const std::string out = Requote(Latin1ToUtf8(latin1), 40, &U());
  EXPECT_EQ(out.substr(0, out.find('\n')),
            "> Sch\xC3\xB6ne Gr\xC3\xBC\xC3\x9F"
            "e aus M\xC3\xBCnchen, \xC3\xBC"
            "ber die");
  // ASCII text gives the same bytes in either measure.
  const std::string ascii = "> aaaa bbbb-cccc dddd eeee ffff gggg hhhh\n> > x-y z\n>\n> iiii jjjj kkkk";
  for (const int column : {5, 14, 20}) EXPECT_EQ(Requote(ascii, column, &U()), Requote(ascii, column, nullptr));
}

TEST(Utf8Measure, TodaysMailBreaksAtBlanksOnly) {
  // Measured as UTF-8, text follows today's mail rules: no break after a
  // hyphen, never a line that begins with '>'.
  const std::string text = "> wei\xC3\x9F-blau gr\xC3\xBC\xC3\x9F-dich x->y a > b :-) --with-ssl well-known";
  Settings settings = DefaultSettings();
  for (const int column : {8, 12, 17, 25}) {
    settings.wrapColumn = column;
    TextForm form;
    form.measure = &U();
    UseTodaysMailRules(form);
    std::string out = text;
    RequoteText(out, settings, form);
    std::string words;
    for (const std::string& line : OutputLines(out)) {
      ASSERT_EQ(line.compare(0, 2, "> "), 0) << line;
      EXPECT_NE(line[2], '>') << line;
      words += line.substr(2, line.find_last_not_of(' ') - 1) + " ";
    }
    EXPECT_EQ(words, text.substr(2) + " ") << column;  // every token whole, in order
  }
}

TEST(Utf8Measure, ChineseAndJapaneseBreakBetweenCharacters) {
  // 「日本語の文章は、空白なしで書かれます。」 repeated: no blank anywhere.
  const std::string sentence =
      "\xE3\x80\x8C\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x81\xAE\xE6\x96\x87\xE7\xAB\xA0\xE3\x81\xAF\xE3\x80\x81"
      "\xE7\xA9\xBA\xE7\x99\xBD\xE3\x81\xAA\xE3\x81\x97\xE3\x81\xA7\xE6\x9B\xB8\xE3\x81\x8B\xE3\x82\x8C\xE3\x81\xBE"
      "\xE3\x81\x99\xE3\x80\x82\xE3\x80\x8D";
  const std::string text = "> " + sentence + sentence + sentence + "\n> " + sentence;
  for (const int column : {12, 17, 30}) {
    const std::string out = Requote(text, column, &U());
    std::string joined;
    std::size_t pos = 0;
    for (;;) {
      std::size_t lf = out.find('\n', pos);
      const std::string line = out.substr(pos, lf == std::string::npos ? std::string::npos : lf - pos);
      ASSERT_EQ(line.compare(0, 2, "> "), 0) << line;
      const std::string body = line.substr(2);
      EXPECT_LE(U().Width(line.data(), line.size()), column) << line;
      // Never before closing punctuation (、。」), never after an opening one (「).
      for (const char* closing : {"\xE3\x80\x81", "\xE3\x80\x82", "\xE3\x80\x8D"})
        EXPECT_NE(body.compare(0, 3, closing), 0) << line;
      EXPECT_FALSE(body.size() >= 3 && body.compare(body.size() - 3, 3, "\xE3\x80\x8C") == 0) << line;
      joined += body;
      if (lf == std::string::npos) break;
      pos = lf + 1;
    }
    // Lines of wide characters are joined without blanks: nothing is added.
    EXPECT_EQ(joined, sentence + sentence + sentence + sentence) << column;
  }
}

}  // namespace
