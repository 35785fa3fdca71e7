#include "setup/package/SetupScript.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/TestPaths.h"

TEST(SetupScriptSections, ShippedScriptGivesTheInstallationOfThisSystem) {
  const std::string text = ReadFile(DataFile("setup-script.txt"));
  ASSERT_EQ(text.substr(text.size() - 6), "\r\n#end");
  const SetupScript script = ParseSetupScript(text);
  EXPECT_EQ(script.AppName, "Kelvane");
  ASSERT_EQ(script.Shortcuts.size(), 6u);
  EXPECT_EQ(script.Shortcuts[0].target, "kelvstart.exe");
  EXPECT_EQ(script.Shortcuts[0].arguments, "");
  EXPECT_EQ(script.Shortcuts[0].description, "Outlook Express with Kelvane");
  EXPECT_EQ(script.Shortcuts[5].target, "styles_preview.html");
  EXPECT_EQ(script.Shortcuts[5].description, "Stylesheet Preview");
  EXPECT_TRUE(script.StartupShortcuts.empty());
  ASSERT_EQ(script.DesktopShortcuts.size(), 1u);
  EXPECT_EQ(script.DesktopShortcuts[0].target, "kelvstart.exe");
  EXPECT_EQ(script.GeneratedFiles, (std::vector<std::string>{"kelvane.cfg", "debug.txt"}));
  EXPECT_EQ(script.RunningCheckWindowTitle, "Kelvane   ");
  EXPECT_EQ(script.RunningCheckWindowClass, "");
  EXPECT_EQ(script.Language, "ENG");
  EXPECT_EQ(script.DefaultDest, "ProgramFiles");
  EXPECT_EQ(script.Agreement, "");
  EXPECT_TRUE(script.InstallFonts.empty());
  EXPECT_EQ(script.Publisher, "Orrin Vale");
  EXPECT_EQ(script.URLInfoAbout, "http://www.example.org");
  EXPECT_EQ(script.DisplayIcon, "Kelvane.exe");
  // The package build adds the version from the project's one place.
  EXPECT_EQ(script.DisplayVersion, "");
  ASSERT_EQ(script.NativeMessagingHosts.size(), 1u);
  EXPECT_EQ(script.NativeMessagingHosts[0].name, "org.example.kelvane");
  EXPECT_EQ(script.NativeMessagingHosts[0].manifest, "org.example.kelvane.json");
}

TEST(SetupScriptSections, EmptyScriptKeepsEveryDefault) {
  const SetupScript script = ParseSetupScript("");
  EXPECT_EQ(script.AppName, "Application");
  EXPECT_EQ(script.Language, "ENG");
  EXPECT_EQ(script.DefaultDest, "ProgramFiles");
  EXPECT_TRUE(script.Shortcuts.empty());
}

TEST(SetupScriptSections, OrderDoesNotMatterAndTextAfterHeaderIsIgnored) {
  const SetupScript script = ParseSetupScript(
      "#Language\r\nGER\r\n#AppName x\r\n My App \r\n#DefaultDest\r\nAppData\r\n#InstallFonts\r\na.ttf\r\n\r\n"
      "#RunningCheckWindowClass\r\nKvWnd\r\n#end");
  EXPECT_EQ(script.AppName, " My App ");
  EXPECT_EQ(script.Language, "GER");
  EXPECT_EQ(script.DefaultDest, "AppData");
  EXPECT_EQ(script.InstallFonts, (std::vector<std::string>{"a.ttf", ""}));
  EXPECT_EQ(script.RunningCheckWindowClass, "KvWnd");
}

TEST(SetupScriptRules, PairListSplitsTargetsAndDropsALoneLastTarget) {
  const SetupScript script = ParseSetupScript(
      "#Shortcuts\r\nmy tool.exe -x --y\r\nTool\r\ntool -x\r\nNo dot\r\n\r\n\r\nleft.exe\r\n#StartupShortcuts\r\n"
      "a.exe\r\nA\r\n#end");
  ASSERT_EQ(script.Shortcuts.size(), 3u);
  EXPECT_EQ(script.Shortcuts[0].target, "my tool.exe");
  EXPECT_EQ(script.Shortcuts[0].arguments, "-x --y");
  EXPECT_EQ(script.Shortcuts[1].target, "tool -x");
  EXPECT_EQ(script.Shortcuts[1].arguments, "");
  EXPECT_EQ(script.Shortcuts[2].target, "");
  EXPECT_EQ(script.Shortcuts[2].description, "");
  ASSERT_EQ(script.StartupShortcuts.size(), 1u);
  EXPECT_EQ(script.StartupShortcuts[0].description, "A");
}

TEST(SetupScriptRules, HostListPairsNameAndManifestLines) {
  const SetupScript script = ParseSetupScript("#NativeMessagingHosts\r\na.b\r\na b.json\r\nc\r\n#end\r\nx\r\n");
  ASSERT_EQ(script.NativeMessagingHosts.size(), 1u);
  EXPECT_EQ(script.NativeMessagingHosts[0].name, "a.b");
  EXPECT_EQ(script.NativeMessagingHosts[0].manifest, "a b.json");
  EXPECT_TRUE(ParseSetupScript("#AppName\r\nX\r\n#end").NativeMessagingHosts.empty());
}

TEST(SetupScriptRules, BlockRunsToTheNextHashWithItsLineEnds) {
  const SetupScript script = ParseSetupScript("#Agreement\r\nLine one\r\nIssue #2 here\r\n#end");
  EXPECT_EQ(script.Agreement, "Line one\r\nIssue ");
}

TEST(SetupScriptRules, SectionsCutShortKeepTheirDefaults) {
  EXPECT_EQ(ParseSetupScript("#AppName").AppName, "Application");
  EXPECT_EQ(ParseSetupScript("#AppName\r\nNo line end").AppName, "Application");
  EXPECT_EQ(ParseSetupScript("#Agreement\r\nno closing hash\r\n").Agreement, "");
  EXPECT_TRUE(ParseSetupScript("#GeneratedFiles").GeneratedFiles.empty());
  // A list read up to the last CR-ended line keeps what it has.
  EXPECT_EQ(ParseSetupScript("#GeneratedFiles\r\na\r\nb").GeneratedFiles, std::vector<std::string>{"a"});
}

TEST(SetupScriptRules, FirstOccurrenceOfAHeaderCounts) {
  const SetupScript script = ParseSetupScript("#Agreement\r\nsee #AppName below\r\n#AppName\r\nReal\r\n#end");
  EXPECT_EQ(script.AppName, "#AppName");
  const SetupScript inside = ParseSetupScript("#Agreement\r\nx #AppName\r\nFrom agreement\r\n#end");
  EXPECT_EQ(inside.AppName, "From agreement");
}
