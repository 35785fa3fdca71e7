#include "setup/ArchiveListing.h"

#include <gtest/gtest.h>

#include "tests/setup/archive/ZipBuilder.h"

namespace {

ArchiveListing List(const std::string& zip, bool* listed = nullptr) {
  ArchiveReader reader;
  reader.Open(reinterpret_cast<const unsigned char*>(zip.data()), zip.size());
  ArchiveListing listing;
  bool ok = ListArchive(reader, listing);
  if (listed) *listed = ok;
  return listing;
}

}  // namespace

TEST(ArchiveListing, ListsNamesAndSizesOfAGoodPackage) {
  const std::string zip =
      ZipBuilder().Add("Kelvane.exe", std::string(3000, 'k')).Add("docs/", "").Add("docs/a.txt", "abc", 0).Build();
  bool listed = false;
  ArchiveListing listing = List(zip, &listed);
  ASSERT_TRUE(listed);
  ASSERT_EQ(3u, listing.entries.size());
  EXPECT_EQ("docs\\a.txt", listing.entries[2].name);
  EXPECT_EQ(3003u, listing.totalSize);
  EXPECT_FALSE(listing.refused);
}

TEST(ArchiveListing, RefusesNamesExtractionWouldRefuseAndNamesTheFirst) {
  const std::vector<std::string> names = {
      "..\\kv-evil-1.txt", "../kv-evil-2.txt", "a/../../x.txt", "C:/x.txt",    "/x.txt",
      "a/./b.txt",         "a/.../b.txt",      "x*.txt",        "nul\x01.txt", std::string(257, 'n')};
  for (const std::string& bad : names) {
    const std::string zip = ZipBuilder().Add("Kelvane.exe", "k").Add(bad, "evil").Add("..\\second.txt", "e").Build();
    bool listed = true;
    ArchiveListing listing = List(zip, &listed);
    EXPECT_FALSE(listed) << bad;
    EXPECT_TRUE(listing.refused) << bad;
    std::string expected = bad;
    for (char& c : expected)
      if (c == '/') c = '\\';
    EXPECT_EQ(expected, listing.refusedName);
  }
}

TEST(ArchiveListing, RefusesSizesNoDataCanHave) {
  ZipBuilderEntry storedMismatch;
  storedMismatch.name = "stored.txt";
  storedMismatch.data = "stored";
  storedMismatch.method = 0;
  storedMismatch.overrideSize = true;
  storedMismatch.uncompressedSize = 7;

  ZipBuilderEntry bomb;  // 4 GB claimed from a few bytes
  bomb.name = "bomb.bin";
  bomb.data = "tiny";
  bomb.overrideSize = true;
  bomb.uncompressedSize = 0xFFFFFFF0u;

  ZipBuilderEntry method;
  method.name = "bzip2.bin";
  method.data = "x";
  method.method = 12;
  method.rawCompressed = "x";

  for (const ZipBuilderEntry& entry : {storedMismatch, bomb, method}) {
    bool listed = true;
    ArchiveListing listing = List(ZipBuilder().Add("ok.txt", "ok").Add(entry).Build(), &listed);
    EXPECT_FALSE(listed) << entry.name;
    EXPECT_EQ(entry.name, listing.refusedName);
  }

  // Compressed data said to run past the end of the archive.
  std::string zip = ZipBuilder().Add("a.txt", "alpha", 0).Build();
  const std::size_t central = zip.find("PK\x01\x02");
  zip[central + 20 + 2] = 0x10;
  zip[central + 24 + 2] = 0x10;
  bool listed = true;
  EXPECT_EQ("a.txt", List(zip, &listed).refusedName);
  EXPECT_FALSE(listed);
}
