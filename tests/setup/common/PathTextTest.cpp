#include "setup/common/PathText.h"

#include <gtest/gtest.h>

#include "setup/common/FileSystem.h"
#include "tests/support/FakeFileSystem.h"

TEST(SafeRelativeNames, AcceptsNamesThatStayBelowTheirDirectory) {
  for (const char* name : {"Kelvane.exe", "docs\\readme.html", "docs/", "a b\\c.d", "x\\y\\z.txt", ".hidden"})
    EXPECT_TRUE(IsSafeRelativeName(name)) << name;
}

TEST(SafeRelativeNames, RefusesNamesThatCouldLeaveOrMisnameTheDirectory) {
  for (const char* name : {"", "\\x", "/x", "C:\\x", "C:x", "a:b", "..", "a\\..\\b", ".\\a", "a\\.", "a\\\\b", "...",
                           "a\\. .\\b", " ", "a*b", "a?b", "a\tb", "a\\b\\\\", "\\\\srv\\x"})
    EXPECT_FALSE(IsSafeRelativeName(name)) << name;
}

TEST(SafeRelativeNames, FileNamesHaveNoSeparator) {
  EXPECT_TRUE(IsSafeFileName("Outlook Express with Kelvane"));
  EXPECT_FALSE(IsSafeFileName("sub\\name"));
  EXPECT_FALSE(IsSafeFileName("sub/name"));
}

TEST(FileNameComparison, FoldsAsciiCaseAndSeparatorsOnly) {
  EXPECT_TRUE(SameFileName("Kelvane.exe", "kelvane.EXE"));
  EXPECT_TRUE(SameFileName("docs/a.txt", "DOCS\\A.TXT"));
  EXPECT_FALSE(SameFileName("\xC4.txt", "\xE4.txt"));
  EXPECT_FALSE(SameFileName("a.txt", "a.txt "));
}

TEST(PathJoining, RefusesInsteadOfCutting) {
  std::string out = "unchanged";
  std::string dir = "C:\\" + std::string(250, 'd');  // 253 characters
  EXPECT_TRUE(JoinPath(out, dir, "12345"));          // 259
  EXPECT_EQ(259u, out.size());
  out = "unchanged";
  EXPECT_FALSE(JoinPath(out, dir, "123456"));  // 260 would need no room for the zero
  EXPECT_EQ("unchanged", out);
}

TEST(PathJoining, DoesNotDoubleTheRootBackslash) {
  std::string out;
  ASSERT_TRUE(JoinPath(out, "C:\\", "Kelvane"));
  EXPECT_EQ("C:\\Kelvane", out);
  ASSERT_TRUE(JoinPath(out, "C:\\Program Files", "Kelvane"));
  EXPECT_EQ("C:\\Program Files\\Kelvane", out);
}

TEST(PathJoining, InsideTestComparesWholeComponents) {
  EXPECT_TRUE(IsInsideDirectory("C:\\Inst\\a.txt", "c:\\inst"));
  EXPECT_TRUE(IsInsideDirectory("C:\\Inst\\a.txt", "C:\\Inst\\"));
  EXPECT_FALSE(IsInsideDirectory("C:\\Install\\a.txt", "C:\\Inst"));
  EXPECT_FALSE(IsInsideDirectory("C:\\Inst", "C:\\Inst"));
  EXPECT_EQ("C:\\a", ParentPath("C:\\a\\b.lnk"));
  EXPECT_EQ("", ParentPath("name"));
}

TEST(PathJoining, LinkExtensionAndFullPaths) {
  EXPECT_TRUE(HasLinkExtension("C:\\x\\ReadMe.LNK"));
  EXPECT_FALSE(HasLinkExtension("C:\\x\\tool.lnk.exe"));
  EXPECT_FALSE(HasLinkExtension(".lnk"));
  EXPECT_TRUE(IsFullPath("c:\\x"));
  EXPECT_TRUE(IsFullPath("\\\\server\\share\\x"));
  EXPECT_FALSE(IsFullPath("x\\y"));
  EXPECT_FALSE(IsFullPath("C:x"));
  EXPECT_TRUE(IsDriveRoot("C:\\"));
  EXPECT_TRUE(IsDriveRoot("C:"));
  EXPECT_FALSE(IsDriveRoot("C:\\a"));
}

TEST(PathJoining, DirectoryDepthIgnoresALeadingBackslash) {
  EXPECT_EQ(0, DirectoryDepth("a"));
  EXPECT_EQ(1, DirectoryDepth("a\\b"));
  EXPECT_EQ(1, DirectoryDepth("\\a\\b"));
}

TEST(RegistryNames, KeyNamesAreSingleNonEmptyComponents) {
  EXPECT_TRUE(IsSafeKeyName("Kelvane"));
  EXPECT_FALSE(IsSafeKeyName(""));
  EXPECT_FALSE(IsSafeKeyName("..\\Other"));
  EXPECT_FALSE(IsSafeKeyName(std::string(256, 'k')));
}

TEST(RegistryNames, HostNamesAreDottedWords) {
  for (const char* good : {"org.example.kelvane", "a", "A_1.b2"}) EXPECT_TRUE(IsNativeHostName(good)) << good;
  for (const char* bad : {"", ".a", "a.", "a..b", "a-b", "a\\b", "a b", "\xE4"})
    EXPECT_FALSE(IsNativeHostName(bad)) << bad;
}

TEST(LinksOnTheWay, AnyLinkBelowTheBaseIsCrossing) {
  FakeFileSystem fs;
  fs.AddFolder("C:\\Inst\\real");
  fs.AddLink("C:\\Inst\\junction");
  EXPECT_FALSE(PathCrossesLink(fs, "C:\\Inst", "real\\file.txt"));
  EXPECT_FALSE(PathCrossesLink(fs, "C:\\Inst", "missing\\deeper\\file.txt"));
  EXPECT_TRUE(PathCrossesLink(fs, "C:\\Inst", "junction\\file.txt"));
  EXPECT_TRUE(PathCrossesLink(fs, "C:\\Inst", "JUNCTION"));
}
