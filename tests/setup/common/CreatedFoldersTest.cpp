#include "setup/common/CreatedFolders.h"

#include <gtest/gtest.h>

#include "tests/support/FakeFileSystem.h"

TEST(CreatedFolders, RemovesOnlyWhatItMadeAndWhatStayedEmptyDeepestFirst) {
  FakeFileSystem disk;
  disk.AddFolder("C:\\Existing");
  disk.AddFolder("C:\\Menu");
  CreatedFolders folders(disk);
  for (const char* path : {"C:\\Existing\\New", "C:\\Existing\\New\\Deeper", "C:\\Existing\\New\\Deeper\\App",
                           "C:\\Menu\\App", "C:\\Existing\\Kept", "C:\\Existing\\Kept\\Note"})
    EXPECT_EQ(FolderResult::kCreated, folders.MakeFolder(path));
  // Already there: not ours to remove.
  EXPECT_EQ(FolderResult::kAlreadyExists, folders.MakeFolder("C:\\Existing"));
  // The user put a file into one of them meanwhile.
  disk.AddFile("C:\\Existing\\Kept\\Note\\mine.txt");
  disk.removed.clear();

  folders.RemoveEmpty();
  EXPECT_EQ((std::vector<std::string>{"C:\\Existing\\New\\Deeper\\App", "C:\\Existing\\New\\Deeper", "C:\\Menu\\App",
                                      "C:\\Existing\\New"}),
            disk.removed);
  EXPECT_TRUE(disk.Has("C:\\Existing\\Kept\\Note\\mine.txt"));
  EXPECT_TRUE(disk.Has("C:\\Existing\\Kept"));
  EXPECT_TRUE(disk.Has("C:\\Existing"));
  EXPECT_TRUE(disk.Has("C:\\Menu"));
  EXPECT_TRUE(folders.Paths().empty());
}

TEST(CreatedFolders, AFolderRemovedAndMadeAgainOrReplacedByALinkIsHandledOnce) {
  FakeFileSystem disk;
  CreatedFolders folders(disk);
  folders.MakeFolder("C:\\App");
  EXPECT_TRUE(folders.RemoveFolder("C:\\App"));
  EXPECT_TRUE(folders.Paths().empty());
  folders.MakeFolder("C:\\App");
  EXPECT_EQ(std::vector<std::string>{"C:\\App"}, folders.Paths());

  // Something else now stands where the folder was: it is left alone.
  disk.RemoveFolder("C:\\App");
  disk.AddLink("C:\\App");
  disk.removed.clear();
  folders.RemoveEmpty();
  EXPECT_TRUE(disk.removed.empty());
}
