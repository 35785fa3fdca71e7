#include "setup/record/UninstallRecord.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "tests/support/TempFolder.h"
#include "tests/support/TestPaths.h"

namespace {

SetupScript SampleScript() {
  SetupScript script;
  script.AppName = "Kelvane";
  script.Shortcuts.resize(2);
  script.Shortcuts[0].linkPath = "C:\\Menu\\Kelvane\\Outlook Express with Kelvane.lnk";
  script.Shortcuts[1].linkPath = "C:\\Menu\\Kelvane\\Uninstall.lnk";
  script.DesktopShortcuts.resize(1);
  script.DesktopShortcuts[0].linkPath = "C:\\Desktop\\Outlook Express with Kelvane.lnk";
  script.GeneratedFiles = {"kelvane.cfg", "debug.txt"};
  script.RunningCheckWindowTitle = "Kelvane   ";
  return script;
}

int Parse(const std::string& bytes, UninstallRecord& record, RecordDepth depth) {
  return ParseUninstallRecord(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), record, depth);
}

std::string Int(std::uint32_t v) {
  std::string out;
  for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
  return out;
}

std::string Str(const std::string& s) {
  return s + std::string(1, '\0');
}

}  // namespace

TEST(UninstallRecordRoundTrip, WrittenRecordReadsBackAtBothDepths) {
  TempFolder folder;
  const std::string path = (folder.Root() / "uninstall.dat").string();
  ASSERT_TRUE(WriteUninstallRecord(SampleScript(), {"Kelvane.exe", "sub\\lang.ini", "uninstall.exe"}, path.c_str()));

  UninstallRecord record;
  ASSERT_EQ(ReadUninstallRecord(record, RecordDepth::kUninstaller, path.c_str()), 0);
  EXPECT_STREQ(record.appName, "Kelvane");
  ASSERT_EQ(record.fileCount, 3);
  EXPECT_STREQ(record.files[1].data(), "sub\\lang.ini");
  // Start-menu paths come first, then Startup, then desktop.
  ASSERT_EQ(record.shortcutCount, 3);
  EXPECT_STREQ(record.shortcuts[2].data(), "C:\\Desktop\\Outlook Express with Kelvane.lnk");
  ASSERT_EQ(record.generatedCount, 2);
  EXPECT_STREQ(record.generatedFiles[1].data(), "debug.txt");
  EXPECT_STREQ(record.windowClass, "");
  EXPECT_STREQ(record.windowTitle, "Kelvane   ");

  UninstallRecord setupView;
  ASSERT_EQ(ReadUninstallRecord(setupView, RecordDepth::kSetup, path.c_str()), 0);
  EXPECT_EQ(setupView.generatedCount, 2);
  EXPECT_STREQ(setupView.windowTitle, "");
}

TEST(UninstallRecordRoundTrip, ExactBytesOfAnEmptyInstallation) {
  TempFolder folder;
  const std::string path = (folder.Root() / "uninstall.dat").string();
  SetupScript script;
  script.AppName = "A";
  ASSERT_TRUE(WriteUninstallRecord(script, {}, path.c_str()));
  EXPECT_EQ(ReadFile(path), std::string("SS01A\0", 6) + Int(0) + Int(0) + Int(0) + std::string(2, '\0'));
}

TEST(UninstallRecordWrite, RefusesTextsLongerThanTheirFields) {
  TempFolder folder;
  const std::string path = (folder.Root() / "uninstall.dat").string();
  EXPECT_FALSE(WriteUninstallRecord(SampleScript(), {std::string(260, 'f')}, path.c_str()));
  EXPECT_FALSE(std::filesystem::exists(path));
  SetupScript longName = SampleScript();
  longName.AppName = std::string(256, 'n');
  EXPECT_FALSE(WriteUninstallRecord(longName, {}, path.c_str()));
  EXPECT_TRUE(WriteUninstallRecord(SampleScript(), {std::string(259, 'f')}, path.c_str()));
}

TEST(UninstallRecordRead, MissingFileAndWrongMagicAreUnreadable) {
  TempFolder folder;
  UninstallRecord record;
  EXPECT_EQ(ReadUninstallRecord(record, RecordDepth::kUninstaller, (folder.Root() / "none.dat").string().c_str()), 1);
  const std::string body = Str("A") + Int(0) + Int(0) + Int(0) + Str("") + Str("");
  EXPECT_EQ(Parse("SS02" + body, record, RecordDepth::kUninstaller), 1);
  EXPECT_EQ(Parse("SS01" + body, record, RecordDepth::kUninstaller), 0);
  EXPECT_EQ(Parse("SS0", record, RecordDepth::kUninstaller), 1);
}

TEST(UninstallRecordRead, RecordEndingEarlyIsUnreadableAtTheDepthThatNeedsIt) {
  const std::string throughGenerated = "SS01" + Str("A") + Int(1) + Str("f") + Int(0) + Int(1) + Str("g");
  UninstallRecord record;
  EXPECT_EQ(Parse(throughGenerated, record, RecordDepth::kSetup), 0);
  EXPECT_EQ(Parse(throughGenerated, record, RecordDepth::kUninstaller), 1);
  EXPECT_EQ(record.fileCount, 0);
  EXPECT_TRUE(record.files.empty());
  EXPECT_EQ(Parse(throughGenerated + Str("cls"), record, RecordDepth::kUninstaller), 1);
  // Every prefix of a good record is refused, never read past its end.
  const std::string full = throughGenerated + Str("cls") + Str("title");
  for (std::size_t cut = 0; cut < full.size(); ++cut)
    EXPECT_EQ(Parse(full.substr(0, cut), record, RecordDepth::kUninstaller), 1) << cut;
  EXPECT_EQ(Parse(full, record, RecordDepth::kUninstaller), 0);
}

TEST(UninstallRecordRead, CountsTheFileCannotHoldAreRefused) {
  UninstallRecord record;
  const std::string tail = Int(0) + Int(0) + Str("") + Str("");
  EXPECT_EQ(Parse("SS01" + Str("A") + Int(0xFFFFFFFF) + tail, record, RecordDepth::kUninstaller), 1);
  EXPECT_EQ(Parse("SS01" + Str("A") + Int(0x7FFFFFFF) + tail, record, RecordDepth::kUninstaller), 1);
  EXPECT_EQ(Parse("SS01" + Str("A") + Int(0x80000000) + tail, record, RecordDepth::kUninstaller), 1);
  EXPECT_EQ(Parse("SS01" + Str("A") + Int(3) + Str("a") + Str("b") + tail, record, RecordDepth::kUninstaller), 1);
}

TEST(UninstallRecordRead, TextLongerThanItsFieldIsRefused) {
  UninstallRecord record;
  const std::string rest = Int(0) + Int(0) + Int(0) + Str("") + Str("");
  EXPECT_EQ(Parse("SS01" + Str(std::string(255, 'a')) + rest, record, RecordDepth::kUninstaller), 0);
  EXPECT_EQ(Parse("SS01" + Str(std::string(256, 'a')) + rest, record, RecordDepth::kUninstaller), 1);
  const std::string files = "SS01" + Str("A") + Int(1);
  const std::string after = Int(0) + Int(0) + Str("") + Str("");
  EXPECT_EQ(Parse(files + Str(std::string(259, 'p')) + after, record, RecordDepth::kUninstaller), 0);
  EXPECT_EQ(Parse(files + Str(std::string(260, 'p')) + after, record, RecordDepth::kUninstaller), 1);
}

TEST(UninstallRecordHosts, SectionFollowsTheWindowTextsAndOnlyWhenThereAreHosts) {
  TempFolder folder;
  const std::string path = (folder.Root() / "uninstall.dat").string();
  SetupScript script;
  script.AppName = "A";
  script.RunningCheckWindowTitle = "T";
  script.NativeMessagingHosts = {{"org.example.kelvane", "m.json"}, {"b", "b.json"}};
  ASSERT_TRUE(WriteUninstallRecord(script, {}, path.c_str()));
  const std::string old = "SS01" + Str("A") + Int(0) + Int(0) + Int(0) + Str("") + Str("T");
  const std::string bytes = ReadFile(path);
  EXPECT_EQ(bytes, old + "NMH1" + Int(2) + Str("org.example.kelvane") + Str("b"));

  UninstallRecord record;
  for (RecordDepth depth : {RecordDepth::kSetup, RecordDepth::kUninstaller}) {
    ASSERT_EQ(Parse(bytes, record, depth), 0);
    ASSERT_EQ(record.hostCount, 2);
    EXPECT_STREQ(record.nativeHosts[0].data(), "org.example.kelvane");
  }
  // A record of before, or with bytes behind it this reader does not know,
  // reads as it always did, without hosts.
  for (const std::string& other : {old, old + "XYZ1" + Int(1) + Str("x")}) {
    ASSERT_EQ(Parse(other, record, RecordDepth::kUninstaller), 0);
    EXPECT_EQ(record.hostCount, 0);
    EXPECT_STREQ(record.windowTitle, "T");
  }
  // A damaged section fails the uninstaller's reading as any damage does;
  // setup, which never read that far, still cleans up with the rest.
  for (const std::string& damaged : {old + "NMH1", old + "NMH1" + Int(2) + Str("a"), old + "NMH1" + Int(1) + "a"}) {
    EXPECT_EQ(Parse(damaged, record, RecordDepth::kUninstaller), 1);
    ASSERT_EQ(Parse(damaged, record, RecordDepth::kSetup), 0);
    EXPECT_EQ(record.hostCount, 0);
    EXPECT_TRUE(record.nativeHosts.empty());
  }
  // Old readers stop at the window title; the section is invisible to them.
  EXPECT_EQ(bytes.substr(0, old.size()), old);
}
