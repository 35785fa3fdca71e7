#include "setup/WizardRules.h"

#include <gtest/gtest.h>

#include "tests/support/FakeFileSystem.h"
#include "setup/SetupTexts.h"

namespace {

std::string Normalized(std::string path) {
  return NormalizeDestination(path) ? path : "<refused>";
}

}  // namespace

TEST(DestinationForm, NeedsDriveColonAndBackslash) {
  EXPECT_EQ("<refused>", Normalized("C:"));
  EXPECT_EQ("<refused>", Normalized("C:folder"));
  EXPECT_EQ("<refused>", Normalized("Programs\\Tool"));
  EXPECT_EQ("<refused>", Normalized("1:\\Tool"));
  EXPECT_EQ("<refused>", Normalized("\\\\server\\share"));
  EXPECT_EQ("C:\\Tool", Normalized("C:\\Tool"));
}

TEST(DestinationForm, DropsTrailingBackslashesButKeepsTheRoot) {
  EXPECT_EQ("C:\\Tool", Normalized("C:\\Tool\\\\"));
  EXPECT_EQ("C:\\", Normalized("C:\\\\\\"));
  EXPECT_EQ("d:\\", Normalized("d:\\"));
}

TEST(DestinationForm, RefusesClimbingAndOverlongPaths) {
  EXPECT_EQ("<refused>", Normalized("C:\\a\\..\\..\\Windows"));
  EXPECT_EQ("<refused>", Normalized("C:\\a\\\\b"));
  EXPECT_EQ("<refused>", Normalized("C:\\a:b"));
  EXPECT_EQ("<refused>", Normalized("C:\\" + std::string(245, 'x')));
  EXPECT_NE("<refused>", Normalized("C:\\" + std::string(240, 'x')));
}

TEST(DestinationChoice, CreatesMissingParentsLevelByLevel) {
  FakeFileSystem fs;
  fs.AddFolder("D:\\Programs");
  std::string dir = "D:\\Programs\\New\\Tool\\";
  DestinationDecision d = DecideDestination(dir, "", 1000, fs);
  EXPECT_EQ(DestinationVerdict::kAccept, d.verdict);
  EXPECT_EQ("D:\\Programs\\New\\Tool", dir);
  EXPECT_EQ(PathKind::kDirectory, fs.Kind("D:\\Programs\\New\\Tool"));
  EXPECT_EQ(ParentFolders("D:\\a\\b"), (std::vector<std::string>{"D:", "D:\\a"}));
}

TEST(DestinationChoice, EarlierInstallationIsAcceptedWithoutAsking) {
  FakeFileSystem fs;
  fs.AddFolder("C:\\Program Files\\Kelvane");
  std::string dir = "C:\\Program Files\\Kelvane";
  EXPECT_EQ(DestinationVerdict::kAccept, DecideDestination(dir, "C:\\Program Files\\Kelvane", 0, fs).verdict);
  dir = "C:\\Program Files\\Kelvane";
  EXPECT_EQ(DestinationVerdict::kAskExisting, DecideDestination(dir, "", 0, fs).verdict);
}

TEST(DestinationChoice, AFileInTheWayIsRefused) {
  FakeFileSystem fs;
  fs.AddFile("C:\\Tool");
  std::string dir = "C:\\Tool";
  EXPECT_EQ(DestinationVerdict::kFileExists, DecideDestination(dir, "", 0, fs).verdict);
}

TEST(DestinationSpace, NamesTheMissingKilobytesAndTheDriveInUpperCase) {
  FakeFileSystem fs;
  fs.freeBytes = 3145728;  // exactly the reserve, nothing for the files
  std::string dir = "e:\\tool";
  DestinationDecision d = DecideDestination(dir, "", 10 * 1024 + 5, fs);
  EXPECT_EQ(DestinationVerdict::kNoSpace, d.verdict);
  EXPECT_EQ(10u, d.missingKilobytes);
  EXPECT_EQ('E', d.drive);
  EXPECT_EQ(PathKind::kMissing, fs.Kind("e:\\tool"));
  EXPECT_EQ("Not enough disk space.\nLeave Setup and free at least 10 KB on drive E:\nor choose a different drive.",
            FormatNoSpaceMessage(d.missingKilobytes, d.drive));
}

TEST(DestinationSpace, LargeVolumesAndLargeArchivesAreCountedIn64Bits) {
  FakeFileSystem fs;
  fs.freeBytes = 5ull * 1024 * 1024 * 1024;
  std::string dir = "C:\\Tool";
  EXPECT_EQ(DestinationVerdict::kAccept, DecideDestination(dir, "", 4294967295u, fs).verdict);
  fs.freeBytes = 4294967296ull;
  dir = "C:\\Other";
  DestinationDecision d = DecideDestination(dir, "", 4294967295u, fs);
  EXPECT_EQ(DestinationVerdict::kNoSpace, d.verdict);
  EXPECT_EQ((4294967295ull + 3145728 - 4294967296ull) / 1024, d.missingKilobytes);
}

TEST(DestinationSpace, AFailedQueryRefusesTheDestination) {
  FakeFileSystem fs;
  fs.freeBytesKnown = false;
  std::string dir = "C:\\Tool";
  EXPECT_EQ(DestinationVerdict::kSpaceUnknown, DecideDestination(dir, "", 0, fs).verdict);
  EXPECT_EQ(PathKind::kMissing, fs.Kind("C:\\Tool"));
}

TEST(MenuFolderChoice, CreatesOneLevelOnly) {
  FakeFileSystem fs;
  fs.AddFolder("C:\\Menu");
  std::string menuFolder = "unset";
  EXPECT_EQ(MenuFolderVerdict::kPathNotFound, DecideMenuFolder("C:\\Menu", "New\\Tool", fs, menuFolder));
  EXPECT_EQ("unset", menuFolder);
  EXPECT_EQ(MenuFolderVerdict::kAccept, DecideMenuFolder("C:\\Menu", "Kelvane", fs, menuFolder));
  EXPECT_EQ("C:\\Menu\\Kelvane", menuFolder);
  EXPECT_EQ(MenuFolderVerdict::kAccept, DecideMenuFolder("C:\\Menu", "Kelvane", fs, menuFolder));
}

TEST(MenuFolderChoice, RefusesFilesAndNamesOutsideTheMenu) {
  FakeFileSystem fs;
  fs.AddFile("C:\\Menu\\Taken");
  std::string menuFolder;
  EXPECT_EQ(MenuFolderVerdict::kFileExists, DecideMenuFolder("C:\\Menu", "Taken", fs, menuFolder));
  for (const char* name : {"", "..", "..\\..\\Windows", "C:\\Elsewhere", "\\"})
    EXPECT_EQ(MenuFolderVerdict::kInvalidName, DecideMenuFolder("C:\\Menu", name, fs, menuFolder)) << name;
}

TEST(MenuFolderNavigation, NameFieldFollowsTheCurrentFolder) {
  std::string root = "C:\\Menu";
  std::string current = EnterMenuFolder(root, "Tools");
  EXPECT_EQ("C:\\Menu\\Tools", current);
  EXPECT_EQ("Tools\\Kelvane", MenuNameFor(root, current, "Kelvane"));
  current = EnterMenuFolder(EnterMenuFolder(current, "Mail"), "..");
  EXPECT_EQ("C:\\Menu\\Tools", current);
  EXPECT_EQ("Kelvane", MenuNameFor(root, EnterMenuFolder(current, ".."), "Kelvane"));
}
