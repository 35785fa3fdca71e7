#include "app/LinkText.h"

#include <gtest/gtest.h>

namespace {

TEST(LinkErrors, KnownCodesHaveTheirWordsAfterTheHeading) {
  EXPECT_EQ(LinkErrorMessage(31),
            "Unable to open hyperlink:\n\nThere is no application associated\nwith the given filename extension.");
  EXPECT_EQ(LinkErrorMessage(26), "Unable to open hyperlink:\n\nA sharing violation occurred. ");
  EXPECT_EQ(LinkErrorMessage(0), "Unable to open hyperlink:\n\nThe operating system is out\nof memory or resources.");
  EXPECT_EQ(LinkErrorMessage(32), "Unable to open hyperlink:\n\nThe specified dynamic-link library was not found.");
}

TEST(LinkErrors, OtherCodesAreNamedByNumber) {
  EXPECT_EQ(LinkErrorMessage(4), "Unable to open hyperlink:\n\nUnknown Error (4) occurred.");
  EXPECT_EQ(LinkErrorMessage(-1), "Unable to open hyperlink:\n\nUnknown Error (-1) occurred.");
}

TEST(BrowserCommand, CutsAtTheQuotedPlaceholderFirst) {
  EXPECT_EQ(BrowserCommandFor("\"C:\\b\\browser.exe\" -nohome \"%1\" %1", "http://x/"),
            "\"C:\\b\\browser.exe\" -nohome  http://x/");
  EXPECT_EQ(BrowserCommandFor("C:\\b\\browser.exe %1 -x", "http://x/"), "C:\\b\\browser.exe  http://x/");
  EXPECT_EQ(BrowserCommandFor("C:\\b\\browser.exe", "http://x/"), "C:\\b\\browser.exe http://x/");
}

TEST(BrowserCommand, ALongTargetIsNeverCut) {
  const std::string target = "http://example.org/" + std::string(2000, 'a');
  const std::string command = BrowserCommandFor(std::string(600, 'p'), target);
  EXPECT_EQ(command.size(), 600 + 1 + target.size());
  EXPECT_EQ(command.substr(601), target);
}

}  // namespace
