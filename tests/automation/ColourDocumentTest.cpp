// Colouring one document: readiness, the marks that keep it from being
// coloured twice, and what is written where.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "AutomationRig.h"

namespace {

using Events = std::vector<std::string>;

class Colouring : public ::testing::Test {
protected:
  void SetUp() override {
    rig.Build();
    note = desk.AddNoteWindow("Hello", false);
    Document().innerHtml = "hi<BR>&gt; q";
    rig.notes->FindServerWindow(note);
  }
  int Colour(ColourMode mode = ColourMode::view) { return ColourDocument(*rig.notes, mode, *rig.colouring); }
  FakeDocState& Document() { return desk.DocumentOf(note); }

  AutomationRig rig;
  FakeDesktop& desk = rig.desk;
  WindowHandle note = 0;
};

TEST_F(Colouring, MarksStylesAndTitlesAViewInThisOrder) {
  EXPECT_EQ(0, Colour());
  EXPECT_EQ((Events{"SendMessageTimeout 1000", "ObjectFromLresult", "get_readyState", "get_title", "sleep 200",
                    "get_body", "get_innerHTML", "createStyleSheet", "put_innerHTML", "put_title Kelvane"}),
            desk.events);
  EXPECT_EQ("<SPAN class=KV-MARK>hi<BR></span><span class=q1>&gt; q", Document().innerHtml);
  EXPECT_EQ((std::vector<std::wstring>{L"C:\\Kelvane\\styles.css"}), Document().styleSheets);
  EXPECT_EQ("Kelvane", Document().title);
  EXPECT_EQ(0, Document().liveReferences);
}

TEST_F(Colouring, AMarkedDocumentIsLeftAlone) {
  Document().title = "Kelvane";
  EXPECT_EQ(1, Colour());
  EXPECT_TRUE(desk.EventsLike("sleep").empty());  // no wait for a known title
  EXPECT_TRUE(desk.EventsLike("get_innerHTML").empty());

  Document().title = "Hello";
  Document().innerHtml = "<SPAN class=KV-MARK>hi";
  EXPECT_EQ(1, Colour());
  Document().innerHtml = "<P>rich</P>";
  EXPECT_EQ(1, Colour());
  EXPECT_EQ(0, Document().putHtmlCount);
  EXPECT_TRUE(Document().styleSheets.empty());
  EXPECT_EQ(0, Document().liveReferences);
}

TEST_F(Colouring, NotReadyIsTriedAgainAndUnreachableIsNothingToDo) {
  Document().readyState = "interactive";
  EXPECT_EQ(-1, Colour());
  Document().readyState = "complete";
  Document().innerHtml.clear();
  EXPECT_EQ(-1, Colour());
  Document().innerHtml = "x";
  Document().htmlFails = true;
  EXPECT_EQ(-1, Colour());
  Document().hung = true;
  bool acquired = true;
  EXPECT_EQ(1, ColourDocument(*rig.notes, ColourMode::view, *rig.colouring, &acquired));
  EXPECT_FALSE(acquired);
  EXPECT_EQ(0, Document().putHtmlCount);
  EXPECT_EQ(0, Document().liveReferences);
}

TEST_F(Colouring, TextTheCodePageCannotHoldIsNeverWrittenBack) {
  Document().htmlLossy = true;
  EXPECT_EQ(1, Colour());
  Document().htmlLossy = false;
  rig.settings.reformatHtml = 1;
  Document().innerText = "hi\r\n> q";
  Document().textLossy = true;
  EXPECT_EQ(1, Colour());
  EXPECT_EQ(0, Document().putHtmlCount);
}

TEST_F(Colouring, TheRebuildNeverBlanksTheMessage) {
  rig.settings.reformatHtml = 1;
  Document().innerText.clear();
  EXPECT_EQ(-1, Colour());
  Document().innerText = "text";
  Document().textFails = true;
  EXPECT_EQ(-1, Colour());
  EXPECT_EQ("hi<BR>&gt; q", Document().innerHtml);

  Document().textFails = false;
  Document().innerText = "hi\r\n> q";
  EXPECT_EQ(0, Colour());
  EXPECT_EQ("<SPAN class=KV-MARK>hi<BR></span><span class=q1>&gt; q", Document().innerHtml);
}

TEST_F(Colouring, CompositionModeLeavesTheTitle) {
  Document().title = "Re: x";
  EXPECT_EQ(0, Colour(ColourMode::composition));
  EXPECT_EQ("Re: x", Document().title);
  EXPECT_TRUE(desk.EventsLike("put_title").empty());
}

class StyleCount : public ::testing::Test {
protected:
  int Read(const std::string& firstLine) {
    {
      std::ofstream file(path, std::ios::binary);
      file << firstLine;
    }
    return ReadStyleCount(path.c_str(), desk);
  }
  void TearDown() override { std::remove(path.c_str()); }

  FakeDesktop desk;
  // ctest runs test cases in parallel processes: one file per test case.
  std::string path = ::testing::TempDir() + "kelvane-styles-" +
                     ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".css";
};

TEST_F(StyleCount, ComesFromTheNumberAfterTheCommentOpener) {
  EXPECT_EQ(7, Read("/* 7 <- edit this number\r\n.q0 {}\r\n"));
  EXPECT_EQ(12, Read("/*   12 levels */\n"));
  EXPECT_EQ(3, Read("/* 3"));
  EXPECT_EQ(2147483647, Read("/* 99999999999999 */"));  // saturates, never wraps negative
  EXPECT_TRUE(desk.boxes.empty());
}

TEST_F(StyleCount, ZeroOrNoNumberWarnsAndGivesOneLevel) {
  for (const char* line : {"/* 0 <- edit", "/* none */", "/* -3 */", "/*", "", "/*\n5"}) {
    desk.boxes.clear();
    EXPECT_EQ(1, Read(line)) << line;
    ASSERT_EQ(1u, desk.boxes.size()) << line;
    EXPECT_EQ("Kelvane Error|Number of style sheets in styles.css set to 0!\nMust be at least 1!\n", desk.boxes[0]);
  }
}

TEST_F(StyleCount, OnlyTheFirst19CharactersAreRead) {
  EXPECT_EQ(1234567890, Read("/*       1234567890"));  // characters 10 to 19
  EXPECT_EQ(123456789, Read("/*        1234567890"));
}

TEST_F(StyleCount, AMissingFileGivesOneLevelSilently) {
  EXPECT_EQ(1, ReadStyleCount((path + ".missing").c_str(), desk));
  EXPECT_TRUE(desk.boxes.empty());
}

TEST(ShippedStyleSheet, DefinesEveryClassItsFirstLineCounts) {
  FakeDesktop desk;
  const std::string path = std::string(KELVANE_SOURCE_DIR) + "/data/styles.css";
  const int count = ReadStyleCount(path.c_str(), desk);
  EXPECT_EQ(7, count);
  std::ifstream file(path, std::ios::binary);
  const std::string sheet((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  EXPECT_EQ(0u, sheet.find("/* 7 <- edit this number if you add or remove styles. This must be the first line of "
                           "the style sheet! You mustn't change anything but the number in this line! */\r\n"));
  for (int level = 0; level < count; ++level) {
    const std::string n = std::to_string(level);
    EXPECT_NE(std::string::npos, sheet.find(".q" + n + " { color: ")) << level;
    EXPECT_NE(std::string::npos, sheet.find("a." + n + ":link, a." + n + ":visited")) << level;
    EXPECT_NE(std::string::npos, sheet.find("a." + n + ":hover")) << level;
  }
  EXPECT_NE(std::string::npos, sheet.find(".sig { color: #666666; }"));
  EXPECT_NE(std::string::npos, sheet.find("a.sig:hover { color: #888888; text-decoration: underline; }"));
}

}  // namespace
