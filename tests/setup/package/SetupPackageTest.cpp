#include "setup/package/SetupPackage.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/support/TempFolder.h"
#include "tests/support/TestPaths.h"
#include "tests/setup/archive/ZipBuilder.h"

namespace {

PackageResult LoadBytes(SetupPackage& package, const std::string& bytes) {
  std::unique_ptr<unsigned char[]> buffer(new unsigned char[bytes.size() + 1]);
  std::memcpy(buffer.get(), bytes.data(), bytes.size());
  return package.LoadFromBuffer(std::move(buffer), bytes.size());
}

const std::string kScript = "#AppName\r\nDemo\r\n#end";

}  // namespace

TEST(SetupPackageLayout, ScriptAndArchiveAreFoundBehindTheProgram) {
  const std::string zip = ZipBuilder().Add("Kelvane.exe", "program").Add("lang.ini", "#end").Build();
  SetupPackage package;
  ASSERT_EQ(LoadBytes(package, "MZ stub - with dashes -" + PackageMarker(1) + kScript + PackageMarker(2) + zip),
            PackageResult::kLoaded);
  EXPECT_EQ(package.ScriptText(), kScript);
  EXPECT_EQ(package.Script().AppName, "Demo");
  ASSERT_EQ(package.Archive().GetEntryCount(), 2);
  // The archive's offsets count from its own start: no correction.
  EXPECT_EQ(package.Archive().OffsetCorrection(), 0u);
  TempFolder folder;
  EXPECT_TRUE(package.Archive().ExtractEntry(1, folder.TargetText()));
  EXPECT_EQ(ReadFile((folder.Target() / "lang.ini").string()), "#end");
}

TEST(SetupPackageLayout, MissingOrMisplacedMarkersMeanCorrupt) {
  const std::string zip = ZipBuilder().Add("a", "a").Build();
  SetupPackage package;
  EXPECT_EQ(LoadBytes(package, ""), PackageResult::kCorrupt);
  EXPECT_EQ(LoadBytes(package, "stub" + PackageMarker(1) + kScript + zip), PackageResult::kCorrupt);
  EXPECT_EQ(LoadBytes(package, "stub" + kScript + PackageMarker(2) + zip), PackageResult::kCorrupt);
  EXPECT_EQ(LoadBytes(package, "stub" + PackageMarker(2) + kScript + PackageMarker(1) + zip), PackageResult::kCorrupt);
  EXPECT_EQ(std::string(PackageFailureMessage(PackageResult::kCorrupt)), "The installation file is corrupt!");
}

TEST(SetupPackageLayout, DamagedArchiveIsReportedWithItsCause) {
  SetupPackage package;
  EXPECT_EQ(LoadBytes(package, "stub" + PackageMarker(1) + kScript + PackageMarker(2) + "not a zip"),
            PackageResult::kBadArchive);
  EXPECT_EQ(package.ArchiveCause(), 18);
  EXPECT_EQ(package.Script().AppName, "Demo");
}

TEST(SetupPackageLayout, MissingProgramFileCannotBeOpened) {
  SetupPackage package;
  EXPECT_EQ(package.Load("no-such-dir/setup.exe"), PackageResult::kCannotOpen);
  EXPECT_EQ(std::string(PackageFailureMessage(PackageResult::kCannotOpen)),
            "Source file could not be opened!\n\nIf you are running this setup application from the\n"
            "command prompt, try running it from Windows!");
  EXPECT_EQ(std::string(PackageFailureMessage(PackageResult::kOutOfMemory)), "Out of memory!");
}

TEST(SetupPackageLayout, LoadsFromAFileWithTheShippedScript) {
  TempFolder folder;
  const std::string script = ReadFile(DataFile("setup-script.txt"));
  const std::string zip = ZipBuilder().Add("uninstall.exe", "u").Build();
  const std::string path = (folder.Root() / "setup.exe").string();
  ASSERT_TRUE(WriteFile(path, "MZ" + PackageMarker(1) + script + PackageMarker(2) + zip));
  SetupPackage package;
  ASSERT_EQ(LoadSetupPackage(package, path.c_str()), PackageResult::kLoaded);
  EXPECT_EQ(package.Script().Shortcuts.size(), 6u);
  EXPECT_EQ(package.Script().RunningCheckWindowTitle, "Kelvane   ");
  EXPECT_EQ(package.Archive().GetEntryCount(), 1);
}

TEST(SetupPackageMarkers, AreCompletedAtRunTimeOnly) {
  EXPECT_EQ(PackageMarker(1), "-overlay1-");
  EXPECT_EQ(PackageMarker(2), "-overlay2-");
#ifdef KELVANE_MARKER_CHECK_IMAGE
  // The program image itself must not contain the finished markers, or
  // setup would find them in its own code.
  const std::string image = ReadFile(KELVANE_MARKER_CHECK_IMAGE);
  ASSERT_FALSE(image.empty());
  EXPECT_EQ(image.find(PackageMarker(1)), std::string::npos);
  EXPECT_EQ(image.find(PackageMarker(2)), std::string::npos);
#endif
}
