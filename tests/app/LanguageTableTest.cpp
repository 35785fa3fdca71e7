#include "LanguageTable.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "tests/support/TestPaths.h"

namespace {

LanguageTable FromText(const std::string& text) {
  LanguageTable table;
  table.LoadFromMemory(text.data(), text.size());
  return table;
}

struct FakeDialog : IControlText {
  std::map<int, std::string> texts;
  void SetControlText(int controlId, const char* text) override { texts[controlId] = text; }
};

}  // namespace

TEST(LanguageTableLookup, TextKeepsInnerLineEndsAndDropsTheLastOne) {
  LanguageTable table = FromText("#Msg\r\nline one\r\n\r\nline three\r\n#end\r\n");
  const char* text = table.GetText("#Msg");
  ASSERT_NE(text, nullptr);
  EXPECT_STREQ(text, "line one\r\n\r\nline three");
  EXPECT_EQ(table.GetText("#Missing"), nullptr);
}

TEST(LanguageTableLookup, HashInsideTextEndsIt) {
  LanguageTable table = FromText("#Msg\r\nsee item #3 please\r\n#end\r\n");
  EXPECT_STREQ(table.GetText("#Msg"), "see item ");
}

TEST(LanguageTableLookup, FirstOccurrenceWinsEvenInsideAnotherLine) {
  LanguageTable table = FromText("#Hidden #Hide here\r\nfirst\r\n#Hide\r\nsecond\r\n#end\r\n");
  std::string line;
  ASSERT_TRUE(table.GetLine("#Hide", line, true));
  EXPECT_EQ(line, "first");
}

TEST(LanguageTableLookup, KeysAreCaseSensitive) {
  LanguageTable table = FromText("#Header style\r\nHeader style:\r\n#end\r\n");
  std::string line = "unchanged";
  EXPECT_FALSE(table.GetLine("#Header Style", line, true));
  EXPECT_EQ(line, "unchanged");
}

TEST(LanguageTableLookup, LineTrimsOnlyWhenAsked) {
  LanguageTable table = FromText("#Word\r\n \ttop \r\n#end\r\n");
  std::string line;
  ASSERT_TRUE(table.GetLine("#Word", line, false));
  EXPECT_EQ(line, " \ttop ");
  ASSERT_TRUE(table.GetLine("#Word", line, true));
  EXPECT_EQ(line, "top");
}

TEST(LanguageTableLookup, LoneCarriageReturnEndsLines) {
  LanguageTable table = FromText("#List\na\rb\rc\r#end");
  std::vector<std::string> list;
  ASSERT_TRUE(table.GetList("#List", list));
  EXPECT_EQ(list, (std::vector<std::string>{"a", "b", "c"}));
}

TEST(LanguageTableList, AppendsItemsAndKeepsEmptyLines) {
  LanguageTable table = FromText("#L\r\none\r\n\r\nthree\r\n#end\r\n");
  std::vector<std::string> list{"existing"};
  ASSERT_TRUE(table.GetList("#L", list));
  EXPECT_EQ(list, (std::vector<std::string>{"existing", "one", "", "three"}));
}

TEST(LanguageTableList, ValueStartingWithKeyLineIsEmptyButFound) {
  LanguageTable table = FromText("#L\r\n#Next\r\nx\r\n#end\r\n");
  std::vector<std::string> list;
  EXPECT_TRUE(table.GetList("#L", list));
  EXPECT_TRUE(list.empty());
}

TEST(LanguageTableList, HashInsideItemIsKeptAndLastLineWithoutCrIsLost) {
  LanguageTable table = FromText("#L\r\nitem #1\r\nlast");
  std::vector<std::string> list;
  ASSERT_TRUE(table.GetList("#L", list));
  EXPECT_EQ(list, (std::vector<std::string>{"item #1"}));
}

TEST(LanguageTableList, MissingKeyLeavesListAlone) {
  LanguageTable table = FromText("#L\r\na\r\n#end\r\n");
  std::vector<std::string> list{"keep"};
  EXPECT_FALSE(table.GetList("#Other", list));
  EXPECT_EQ(list, (std::vector<std::string>{"keep"}));
}

TEST(LanguageTableDamagedFile, KeyLineWithoutLineFeedIsNotFound) {
  LanguageTable table = FromText("#Msg");
  std::string line = "keep";
  EXPECT_EQ(table.GetText("#Msg"), nullptr);
  EXPECT_FALSE(table.GetLine("#Msg", line, true));
  EXPECT_EQ(line, "keep");
}

TEST(LanguageTableDamagedFile, TextWithoutClosingLineRunsToTheEnd) {
  LanguageTable table = FromText("#Msg\r\nno end here\r\n");
  EXPECT_STREQ(table.GetText("#Msg"), "no end here");
  std::string line = "keep";
  EXPECT_FALSE(table.GetLine("#Msg2", line, false));
}

TEST(LanguageTableDamagedFile, ValueLineWithoutCarriageReturnIsNotRead) {
  LanguageTable table = FromText("#Word\nvalue");
  std::string line = "keep";
  EXPECT_FALSE(table.GetLine("#Word", line, true));
  EXPECT_EQ(line, "keep");
}

TEST(LanguageTableMissingFile, EverythingReportsNotFound) {
  LanguageTable table("no-such-dir/no-such-lang.ini");
  EXPECT_FALSE(table.IsLoaded());
  std::string line = "keep";
  std::vector<std::string> list;
  EXPECT_FALSE(table.GetLine("#Hide", line, true));
  EXPECT_FALSE(table.GetList("#TrayMenu", list));
  // Messages without a file show an empty text rather than nothing.
  ASSERT_NE(table.GetText("#First Time"), nullptr);
  EXPECT_STREQ(table.GetText("#First Time"), "");
  FakeDialog dialog;
  table.SetLabel(dialog, 7, "#Hide");
  EXPECT_TRUE(dialog.texts.empty());
}

TEST(LanguageTableSetLabel, ReplacesOnlyWithNonEmptyTrimmedText) {
  LanguageTable table = FromText("#A\r\n  Hide  \r\n#B\r\n   \r\n#C\r\n\r\n#end\r\n");
  FakeDialog dialog;
  table.SetLabel(dialog, 1, "#A");
  table.SetLabel(dialog, 2, "#B");
  table.SetLabel(dialog, 3, "#C");
  table.SetLabel(dialog, 4, "#Missing");
  EXPECT_EQ(dialog.texts, (std::map<int, std::string>{{1, "Hide"}}));
}

class ShippedLanguageFile : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(table.Load(DataFile("lang.ini").c_str())); }
  LanguageTable table;
};

TEST_F(ShippedLanguageFile, ListsHaveTheCountsTheirCallersDemand) {
  std::vector<std::string> tray, styles;
  ASSERT_TRUE(table.GetList("#TrayMenu", tray));
  EXPECT_EQ(tray, (std::vector<std::string>{"Show", "Enable/Disable", "Invert Cursor/Sig", "Terminate"}));
  ASSERT_TRUE(table.GetList("#Header Styles", styles));
  EXPECT_EQ(styles, (std::vector<std::string>{"O.E.", "short", "short+m", "none", "custom"}));
}

TEST_F(ShippedLanguageFile, MessagesReadAsShipped) {
  EXPECT_STREQ(table.GetText("#Custom Header Instructions"),
               "Enter your custom header below\r\n%n = name of sender\r\n%m = email address\r\n\\n = line break");
  EXPECT_STREQ(table.GetText("#Dependency Check Warning"),
               "Outlook Express 5/6 is not running.\r\nDo you want to disable dependency\r\nto start Kelvane anyway?");
  std::string first = table.GetText("#First Time");
  EXPECT_EQ(first.rfind("You are starting Kelvane for the first time.\r\n\r\n", 0), 0u);
  EXPECT_EQ(first.substr(first.size() - 14), "\r\n\r\nOrrin Vale");
}

TEST_F(ShippedLanguageFile, EveryKeyIsFoundAtItsOwnLine) {
  // A key contained in an earlier line would be answered from there.
  const char* keys[] = {"#First Time",
                        "#Dependency Check Warning",
                        "#MSAA Error",
                        "#Message composition frame",
                        "#Quote character",
                        "#Wrap at column",
                        "#Depend on OE",
                        "#Compressed indentation",
                        "#Position cursor at top",
                        "#Move signature to bottom",
                        "#Ignore HTML messages",
                        "#Strip quoted signature",
                        "#Use clipboard",
                        "#Header style",
                        "#Coloring on",
                        "#Compatibility mode",
                        "#Donations",
                        "#Advanced Options",
                        "#Terminate",
                        "#Hide",
                        "#TrayMenu",
                        "#Adv:OE Reaction Delay",
                        "#Adv:Check Interval",
                        "#Adv:Clipboard.Open Timeout",
                        "#Adv:Message Composition Init Delay",
                        "#Adv:Display Warnings On Errors",
                        "#Custom Header Dialog Title",
                        "#Header Styles",
                        "#Custom Header Instructions",
                        "#ISO-8859-x signature fix",
                        "#Fix existing OE quotes",
                        "#Color message composition",
                        "#Viewing frame",
                        "#Reformat",
                        "#top",
                        "#bottom"};
  const std::string file = ReadFile(DataFile("lang.ini"));
  for (const char* key : keys) {
    const std::size_t at = file.find(key);
    ASSERT_NE(at, std::string::npos) << key;
    EXPECT_TRUE(at == 0 || file[at - 1] == '\n') << key;
    EXPECT_EQ(file.compare(at + std::string(key).size(), 2, "\r\n"), 0) << key;
    std::string line;
    EXPECT_TRUE(table.GetLine(key, line, true)) << key;
    EXPECT_FALSE(line.empty()) << key;
  }
  EXPECT_EQ(file.substr(file.size() - 6), "#end\r\n");
  std::string top;
  ASSERT_TRUE(table.GetLine("#top", top, false));
  EXPECT_EQ(top, "top");
}
