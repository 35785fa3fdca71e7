#include "app/OptionRules.h"

#include <gtest/gtest.h>

#include <cstring>

#include "FakeControls.h"
#include "app/ControlIds.h"

namespace {

Settings Defaults() {
  Settings s;
  ResetSettings(s);
  return s;
}

TEST(WrapColumnField, OnlyTheFirstTwoCharactersCountAndSmallColumnsBecomeSixty) {
  EXPECT_EQ(WrapColumnFromField("75"), 75);
  EXPECT_EQ(WrapColumnFromField("99"), 99);
  EXPECT_EQ(WrapColumnFromField("60"), 60);
  EXPECT_EQ(WrapColumnFromField("5"), 60);
  EXPECT_EQ(WrapColumnFromField("150"), 60) << "read as 15";
  EXPECT_EQ(WrapColumnFromField("999"), 99);
  EXPECT_EQ(WrapColumnFromField(""), 60);
  EXPECT_EQ(WrapColumnFromField("ab"), 60);
  EXPECT_EQ(WrapColumnFromField("7x"), 60);
  EXPECT_EQ(WrapColumnFromField("-9"), 60);
  EXPECT_EQ(WrapColumnFromField("8a1"), 60);
}

TEST(MainOptionsExchange, ShowsEverySettingInItsControl) {
  Settings s = Defaults();
  s.useClipboard = 1;
  s.headerStyle = 3;
  s.compressedIndentation = 0;
  FakeControls c;
  ui::DataExchange dx(c, ui::DataExchange::kWrite);
  ExchangeMainOptions(dx, s);
  EXPECT_EQ(c.texts[IDC_WRAP_COLUMN], "72");
  EXPECT_EQ(c.lists[IDC_HEADER_STYLE], 3);
  EXPECT_EQ(c.checks[IDC_COMPRESSED], 0);
  EXPECT_EQ(c.checks[IDC_USE_CLIPBOARD], 1);
  EXPECT_EQ(c.checks[IDC_CURSOR_AT_TOP], 1);
  EXPECT_EQ(c.checks[IDC_SIGNATURE_BOTTOM], 1);
  EXPECT_EQ(c.checks[IDC_IGNORE_HTML], 1);
  EXPECT_EQ(c.checks[IDC_COLORING], 1);
  EXPECT_EQ(c.checks[IDC_CMODE], 0);
  EXPECT_EQ(c.checks[IDC_STRIP_SIGNATURE], 1);
  EXPECT_EQ(c.checks[IDC_ISO_FIX], 0);
  EXPECT_EQ(c.checks[IDC_FIX_QUOTES], 1);
  EXPECT_EQ(c.checks[IDC_COLOR_COMPOSITION], 0);
  EXPECT_EQ(c.checks[IDC_REFORMAT], 0);
  EXPECT_TRUE(c.lists.count(IDC_QUOTE_CHAR) == 0) << "the quote character is set by text, not exchanged";
}

TEST(MainOptionsExchange, ReadsEveryControlIntoItsSetting) {
  Settings s = Defaults();
  FakeControls c;
  {
    ui::DataExchange dx(c, ui::DataExchange::kWrite);
    ExchangeMainOptions(dx, s);
  }
  // Every check box flipped from what it showed.
  for (int id :
       {IDC_COMPRESSED, IDC_CURSOR_AT_TOP, IDC_SIGNATURE_BOTTOM, IDC_IGNORE_HTML, IDC_COLORING, IDC_CMODE,
        IDC_USE_CLIPBOARD, IDC_STRIP_SIGNATURE, IDC_ISO_FIX, IDC_FIX_QUOTES, IDC_COLOR_COMPOSITION, IDC_REFORMAT})
    c.checks[id] = c.ReadCheck(id) ? 0 : 1;
  c.texts[IDC_WRAP_COLUMN] = "66";
  c.lists[IDC_HEADER_STYLE] = 4;
  ui::DataExchange dx(c, ui::DataExchange::kRead);
  ExchangeMainOptions(dx, s);
  EXPECT_FALSE(dx.Failed());
  EXPECT_EQ(s.wrapColumn, 66);
  EXPECT_EQ(s.headerStyle, 4);
  EXPECT_EQ(s.compressedIndentation, 0);
  EXPECT_EQ(s.cursorAtTop, 0);
  EXPECT_EQ(s.moveSignatureToBottom, 0);
  EXPECT_EQ(s.ignoreHtmlMessages, 0);
  EXPECT_EQ(s.coloring, 0);
  EXPECT_EQ(s.compatibilityMode, 1);
  EXPECT_EQ(s.useClipboard, 1);
  EXPECT_EQ(s.stripQuotedSignature, 0);
  EXPECT_EQ(s.isoSignatureFix, 1);
  EXPECT_EQ(s.fixExistingQuotes, 0);
  EXPECT_EQ(s.colorComposition, 1);
  EXPECT_EQ(s.reformatHtml, 1);
  EXPECT_EQ(s.dependOnOE, 1) << "not a main window option";
}

TEST(MainOptionsExchange, ABadWrapColumnStopsBeforeTheSwitchesAfterIt) {
  Settings s = Defaults();
  FakeControls c;
  c.texts[IDC_WRAP_COLUMN] = "7x";
  c.checks[IDC_COMPRESSED] = 0;
  c.checks[IDC_USE_CLIPBOARD] = 1;
  ui::DataExchange dx(c, ui::DataExchange::kRead);
  ExchangeMainOptions(dx, s);
  EXPECT_TRUE(dx.Failed());
  EXPECT_EQ(c.errors, std::vector<std::string>{"Please enter an integer."});
  EXPECT_EQ(s.wrapColumn, 72);
  EXPECT_EQ(s.compressedIndentation, 1);
  EXPECT_EQ(s.useClipboard, 0);
}

TEST(TrayInvert, FlipsBothPlacementsAndTheMenuTextFollows) {
  Settings s = Defaults();
  EXPECT_EQ(InvertMenuText("Invert Cursor/Sig", "top", "bottom", s), "Invert Cursor/Sig (top/bottom)");
  InvertCursorAndSignature(s);
  EXPECT_EQ(s.cursorAtTop, 0);
  EXPECT_EQ(s.moveSignatureToBottom, 0);
  EXPECT_EQ(InvertMenuText("Invert Cursor/Sig", "top", "bottom", s), "Invert Cursor/Sig (bottom/top)");
  InvertCursorAndSignature(s);
  EXPECT_EQ(s.cursorAtTop, 1);
  EXPECT_EQ(s.moveSignatureToBottom, 1);

  // Mixed states and translated, untrimmed words.
  s.moveSignatureToBottom = 0;
  EXPECT_EQ(InvertMenuText("Umkehren", " oben", "unten ", s), "Umkehren ( oben/ oben)");
  InvertCursorAndSignature(s);
  EXPECT_EQ(InvertMenuText("Umkehren", " oben", "unten ", s), "Umkehren (unten /unten )");
}

TEST(TrayInvert, AnOddSwitchValueFromAFileCountsAsOn) {
  Settings s = Defaults();
  s.cursorAtTop = 5;
  InvertCursorAndSignature(s);
  EXPECT_EQ(s.cursorAtTop, 0);
}

TEST(CustomHeaderField, TextStopsAtEightyCharactersWithoutAZero) {
  Settings s = Defaults();
  EXPECT_EQ(CustomHeaderText(s), "%n <%m> scribbled:\\n");
  std::memset(s.customHeader, 'x', sizeof s.customHeader);
  EXPECT_EQ(CustomHeaderText(s), std::string(80, 'x'));
}

TEST(CustomHeaderField, StoresUpToEightyCharactersAndRefusesMore) {
  Settings s = Defaults();
  EXPECT_TRUE(StoreCustomHeader(s, std::string(80, 'a')));
  EXPECT_EQ(CustomHeaderText(s), std::string(80, 'a'));
  EXPECT_EQ(s.customHeader[80], '\0');
  EXPECT_FALSE(StoreCustomHeader(s, std::string(81, 'b')));
  EXPECT_EQ(CustomHeaderText(s), std::string(80, 'a'));
  EXPECT_TRUE(StoreCustomHeader(s, ""));
  EXPECT_EQ(CustomHeaderText(s), "");
  EXPECT_EQ(s.isoSignatureFix, 0) << "the field after the header is untouched";
}

TEST(WatchTimer, NegativeIntervalsCountAsZero) {
  EXPECT_EQ(WatchTimerPeriod(300), 300u);
  EXPECT_EQ(WatchTimerPeriod(0), 0u);
  EXPECT_EQ(WatchTimerPeriod(-5), 0u);
}

}  // namespace
