#include "setup/common/CommandLine.h"

#include <gtest/gtest.h>

TEST(SetupCommandLine, NoArgumentsIsTheInteractiveRun) {
  for (const char* line : {"", "   ", "\t"}) {
    SetupOptions options = ParseSetupCommandLine(line);
    EXPECT_FALSE(options.silent);
    EXPECT_FALSE(options.hasDestination);
    EXPECT_FALSE(options.hasMenuName);
    EXPECT_TRUE(options.ignored.empty());
  }
}

TEST(SetupCommandLine, DestinationTakesTheRestOfTheLineWithBlanks) {
  SetupOptions options = ParseSetupCommandLine("/S /D=C:\\Program Files\\My Tools\\Kelvane  ");
  EXPECT_TRUE(options.silent);
  ASSERT_TRUE(options.hasDestination);
  EXPECT_EQ("C:\\Program Files\\My Tools\\Kelvane", options.destination);

  // Whatever follows "/D=" is the path, switches included.
  options = ParseSetupCommandLine("/D=C:\\a /S");
  EXPECT_FALSE(options.silent);
  EXPECT_EQ("C:\\a /S", options.destination);

  // "/D=" only counts at the start of an argument, in either case.
  options = ParseSetupCommandLine("/x/D=C:\\a /s /d=D:\\b");
  EXPECT_TRUE(options.silent);
  EXPECT_EQ("D:\\b", options.destination);
  EXPECT_EQ(std::vector<std::string>{"/x/D=C:\\a"}, options.ignored);

  // An empty destination is given, not absent: it is refused later rather
  // than replaced by the default.
  options = ParseSetupCommandLine("/S /D=");
  EXPECT_TRUE(options.hasDestination);
  EXPECT_EQ("", options.destination);
}

TEST(SetupCommandLine, SilentSwitchAnywhereAndMenuNameQuotedOrNot) {
  SetupOptions options = ParseSetupCommandLine("/M=Tools /S");
  EXPECT_TRUE(options.silent);
  EXPECT_EQ("Tools", options.menuName);

  options = ParseSetupCommandLine("/m=\"My Tools\\Kelvane\" /S /D=C:\\K");
  EXPECT_TRUE(options.silent && options.hasMenuName);
  EXPECT_EQ("My Tools\\Kelvane", options.menuName);
  EXPECT_EQ("C:\\K", options.destination);

  options = ParseSetupCommandLine("/M=My Tools");  // the name ends at the blank
  EXPECT_EQ("My", options.menuName);
  EXPECT_EQ(std::vector<std::string>{"Tools"}, options.ignored);
}

TEST(SetupCommandLine, UnknownArgumentsAreKeptAsWrittenAndChangeNothing) {
  SetupOptions options = ParseSetupCommandLine("/SILENT /S- \"/S\" /DIR=\"C:\\x y\" /S");
  EXPECT_TRUE(options.silent);  // the last one
  EXPECT_FALSE(options.hasDestination);
  EXPECT_EQ((std::vector<std::string>{"/SILENT", "/S-", "\"/S\"", "/DIR=\"C:\\x y\""}), options.ignored);
  EXPECT_FALSE(ParseSetupCommandLine("/SILENT").silent);
}
