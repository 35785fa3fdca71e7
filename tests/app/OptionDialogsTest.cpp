#include "app/OptionDialogs.h"

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

FakeControls ShowAdvanced(const Settings& s) {
  FakeControls c;
  AdvancedOptions o = AdvancedOptions::From(s);
  ui::DataExchange dx(c, ui::DataExchange::kWrite);
  ExchangeAdvancedOptions(dx, o);
  return c;
}

TEST(AdvancedOptions, ShowsTheSixSettings) {
  Settings s = Defaults();
  FakeControls c = ShowAdvanced(s);
  EXPECT_EQ(c.texts[IDC_ADV_CHECK_INTERVAL], "300");
  EXPECT_EQ(c.texts[IDC_ADV_REACTION_DELAY], "200");
  EXPECT_EQ(c.texts[IDC_ADV_CLIPBOARD_TIMEOUT], "500");
  EXPECT_EQ(c.texts[IDC_ADV_INIT_DELAY], "0");
  EXPECT_EQ(c.checks[IDC_ADV_WARNINGS], 1);
  EXPECT_EQ(c.checks[IDC_ADV_DEPEND_ON_OE], 1);
}

TEST(AdvancedOptions, OkStoresEveryValueIncludingZero) {
  Settings s = Defaults();
  FakeControls c = ShowAdvanced(s);
  c.texts[IDC_ADV_CHECK_INTERVAL] = "1000";
  c.texts[IDC_ADV_REACTION_DELAY] = "0";
  c.texts[IDC_ADV_CLIPBOARD_TIMEOUT] = "750";
  c.texts[IDC_ADV_INIT_DELAY] = "40";
  c.checks[IDC_ADV_WARNINGS] = 0;
  c.checks[IDC_ADV_DEPEND_ON_OE] = 0;
  AdvancedOptions fields = AdvancedOptions::From(s);
  EXPECT_TRUE(ReadAdvancedOptionsInto(c, fields, s));
  EXPECT_EQ(s.checkInterval, 1000);
  EXPECT_EQ(s.oeReactionDelay, 0);
  EXPECT_EQ(s.clipboardOpenTimeout, 750);
  EXPECT_EQ(s.compositionInitDelay, 40);
  EXPECT_EQ(s.displayWarningsOnErrors, 0);
  EXPECT_EQ(s.dependOnOE, 0);
  EXPECT_EQ(s.wrapColumn, 72) << "nothing else is touched";
}

TEST(AdvancedOptions, ABadEntryStoresNothingAtAll) {
  Settings s = Defaults();
  const Settings before = s;
  FakeControls c = ShowAdvanced(s);
  c.texts[IDC_ADV_REACTION_DELAY] = "10";
  c.texts[IDC_ADV_CLIPBOARD_TIMEOUT] = "11";
  c.texts[IDC_ADV_CHECK_INTERVAL] = "fast";
  c.checks[IDC_ADV_DEPEND_ON_OE] = 0;
  AdvancedOptions fields = AdvancedOptions::From(s);
  EXPECT_FALSE(ReadAdvancedOptionsInto(c, fields, s));
  EXPECT_EQ(std::memcmp(&s, &before, sizeof s), 0) << "Cancel after a bad entry must leave Settings as it was";
  EXPECT_EQ(c.errors, std::vector<std::string>{"Please enter an integer."});
  EXPECT_EQ(fields.oeReactionDelay, 200);
}

TEST(CustomHeaderDialog, LimitsTheFieldAndRefusesALongerText) {
  FakeControls c;
  std::string text = "%n wrote:";
  {
    ui::DataExchange dx(c, ui::DataExchange::kWrite);
    ExchangeCustomHeader(dx, text);
  }
  EXPECT_EQ(c.texts[IDC_CUSTOM_HEADER_EDIT], "%n wrote:");
  EXPECT_EQ(c.limits[IDC_CUSTOM_HEADER_EDIT], 80u);

  c.texts[IDC_CUSTOM_HEADER_EDIT] = std::string(80, 'h');
  ui::DataExchange fits(c, ui::DataExchange::kRead);
  ExchangeCustomHeader(fits, text);
  EXPECT_FALSE(fits.Failed());
  EXPECT_EQ(text, std::string(80, 'h'));

  c.texts[IDC_CUSTOM_HEADER_EDIT] = std::string(81, 'h');
  ui::DataExchange tooLong(c, ui::DataExchange::kRead);
  ExchangeCustomHeader(tooLong, text);
  EXPECT_TRUE(tooLong.Failed());
}

}  // namespace
