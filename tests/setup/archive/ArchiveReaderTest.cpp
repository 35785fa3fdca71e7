#include "setup/archive/ArchiveReader.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <ctime>
#include <string>

#include "tests/support/TempFolder.h"
#include "tests/support/TestPaths.h"
#include "tests/setup/archive/ZipBuilder.h"

namespace {

const unsigned char* Bytes(const std::string& s) {
  return reinterpret_cast<const unsigned char*>(s.data());
}

int CauseOfOpen(const std::string& zip) {
  ArchiveReader reader;
  try {
    reader.Open(Bytes(zip), zip.size());
  } catch (const CZipException& e) {
    return e.Cause();
  }
  return 0;
}

int CauseOfExtract(ArchiveReader& reader, int index, const std::string& directory, bool* result = nullptr) {
  try {
    const bool ok = reader.ExtractEntry(index, directory);
    if (result) *result = ok;
  } catch (const CZipException& e) {
    reader.CloseEntry();
    return e.Cause();
  }
  return 0;
}

std::string Text(std::size_t size) {
  std::string text;
  for (std::size_t i = 0; text.size() < size; ++i) text += "line " + std::to_string(i) + " of the sample text\r\n";
  text.resize(size);
  return text;
}

std::string Noise(std::size_t size) {
  std::string data(size, '\0');
  std::uint32_t x = 12345;
  for (char& c : data) {
    x = x * 1103515245u + 12345u;
    c = static_cast<char>(x >> 24);
  }
  return data;
}

}  // namespace

TEST(ArchiveOpen, FindsEntriesWithDataInFrontAndLongComment) {
  const std::string zip = ZipBuilder()
                              .Prefix(std::string(4321, 'x'))
                              .Comment(std::string(65535, 'c'))
                              .Add("a.txt", "alpha")
                              .Add("dir/b.bin", "beta", 0)
                              .Build();
  ArchiveReader reader;
  reader.Open(Bytes(zip), zip.size());
  ASSERT_EQ(reader.GetEntryCount(), 2);
  EXPECT_EQ(reader.OffsetCorrection(), 4321u);
  ArchiveEntryInfo info;
  ASSERT_TRUE(reader.GetEntryInfo(1, info));
  EXPECT_EQ(info.name, "dir\\b.bin");
  EXPECT_EQ(info.method, 0);
  EXPECT_EQ(info.uncompressedSize, 4u);
  EXPECT_EQ(info.crc32, ZipBuilder::Crc("beta"));
  EXPECT_FALSE(reader.GetEntryInfo(2, info));
  EXPECT_FALSE(reader.GetEntryInfo(-1, info));
}

TEST(ArchiveOpen, EndRecordOutOfReachOrMissingIsCause18) {
  std::string zip = ZipBuilder().Add("a", "a").Build();
  EXPECT_EQ(CauseOfOpen(zip + std::string(65536, 'j')), 18);
  EXPECT_EQ(CauseOfOpen(zip + std::string(65535 - 0, 'j').substr(0, 65535)), 0);
  EXPECT_EQ(CauseOfOpen(""), 18);
  EXPECT_EQ(CauseOfOpen("PK"), 18);
}

TEST(ArchiveOpen, InconsistentEndRecordsAreCause10) {
  const std::string good = ZipBuilder().Add("a.txt", "alpha").Build();
  const std::size_t end = good.size() - 22;

  std::string zip64 = good;
  zip64[end + 10] = zip64[end + 11] = '\xFF';  // total entries 0xFFFF
  EXPECT_EQ(CauseOfOpen(zip64), 10);

  std::string noDirectory = good;
  for (int i = 12; i < 16; ++i) noDirectory[end + static_cast<std::size_t>(i)] = 0;
  EXPECT_EQ(CauseOfOpen(noDirectory), 10);

  // A count the stream cannot hold is refused without reading on.
  std::string tooMany = good;
  tooMany[end + 10] = '\x00';
  tooMany[end + 11] = '\x40';
  EXPECT_EQ(CauseOfOpen(tooMany), 10);

  std::string shortComment = good;
  shortComment[end + 20] = 5;
  EXPECT_EQ(CauseOfOpen(shortComment), 10);

  std::string badSignature = good;
  badSignature[badSignature.find("PK\x01\x02") + 1] = 'X';
  EXPECT_EQ(CauseOfOpen(badSignature), 10);
}

// Setup on Windows sees names in the ANSI code page; elsewhere they become
// UTF-8, where no character is lost.
TEST(ArchiveOpen, NamesAreConvertedByTheirFlag) {
  ZipBuilderEntry oem;
  oem.name = "caf\x82";  // OEM 437: e acute
  ZipBuilderEntry utf8;
  utf8.name = "caf\xC3\xA9";
  utf8.flags = ArchiveEntryInfo::kUtf8Name;
  ZipBuilderEntry japanese;  // "nihongo"
  japanese.name = "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E.txt";
  japanese.flags = ArchiveEntryInfo::kUtf8Name;
  ZipBuilderEntry falseFlag;  // flagged, but not UTF-8: read as OEM 437
  falseFlag.name = "Gr\x81\xE1.txt";
  falseFlag.flags = ArchiveEntryInfo::kUtf8Name;
  const std::string zip = ZipBuilder().Add(oem).Add(utf8).Add(japanese).Add(falseFlag).Build();
  ArchiveReader reader;
  reader.Open(Bytes(zip), zip.size());
  ArchiveEntryInfo info;
#ifdef _WIN32
  ASSERT_TRUE(reader.GetEntryInfo(0, info));
  EXPECT_EQ(info.name, "caf\xE9");
  ASSERT_TRUE(reader.GetEntryInfo(1, info));
  EXPECT_EQ(info.name, "caf\xE9");
#else
  const char* const expected[] = {"caf\xC3\xA9", "caf\xC3\xA9", "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E.txt",
                                  "Gr\xC3\xBC\xC3\x9F.txt"};
  for (int i = 0; i < 4; ++i) {
    ASSERT_TRUE(reader.GetEntryInfo(i, info));
    EXPECT_EQ(info.name, expected[i]) << "entry " << i;
  }
#endif
}

TEST(ArchiveOpen, FileSourceMatchesMemoryAndMissingFileIsCause4) {
  TempFolder folder;
  const std::string zip = ZipBuilder().Prefix("stub").Add("x/y.txt", Text(70000)).Build();
  const std::string path = (folder.Root() / "a.zip").string();
  ASSERT_TRUE(WriteFile(path, zip));
  ArchiveReader reader;
  reader.Open(path);
  ASSERT_EQ(reader.GetEntryCount(), 1);
  EXPECT_TRUE(reader.ExtractEntry(0, folder.TargetText()));
  EXPECT_EQ(ReadFile((folder.Target() / "x" / "y.txt").string()), Text(70000));

  const std::string missing = (folder.Root() / "none.zip").string();
  try {
    reader.Open(missing);
    FAIL() << "opened a missing file";
  } catch (const CZipException& e) {
    EXPECT_EQ(e.Cause(), 4);
    EXPECT_EQ(e.Path(), missing);
  }
}

TEST(ArchiveExtract, StoredAndDeflatedEntriesComeOutByteForByte) {
  TempFolder folder;
  const std::string text = Text(200000), noise = Noise(100000);
  const std::string zip = ZipBuilder().Add("t.txt", text).Add("n.bin", noise, 0).Add("e.txt", "").Build();
  for (std::size_t bufferSize : {std::size_t{1}, std::size_t{7}, std::size_t{65535}, std::size_t{1} << 20}) {
    ArchiveReader reader;
    reader.Open(Bytes(zip), zip.size());
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(reader.ExtractEntry(i, folder.TargetText(), true, bufferSize));
    EXPECT_EQ(ReadFile((folder.Target() / "t.txt").string()), text) << bufferSize;
    EXPECT_EQ(ReadFile((folder.Target() / "n.bin").string()), noise) << bufferSize;
    EXPECT_TRUE(std::filesystem::exists(folder.Target() / "e.txt"));
  }
}

TEST(ArchiveExtract, KeepPathDecidesAboutSubdirectories) {
  TempFolder folder;
  const std::string zip = ZipBuilder().Add("a/b/c.txt", "deep").Build();
  ArchiveReader reader;
  reader.Open(Bytes(zip), zip.size());
  ASSERT_TRUE(reader.ExtractEntry(0, folder.TargetText() + "/", false));
  EXPECT_EQ(ReadFile((folder.Target() / "c.txt").string()), "deep");
  ASSERT_TRUE(reader.ExtractEntry(0, folder.TargetText(), true));
  EXPECT_EQ(ReadFile((folder.Target() / "a" / "b" / "c.txt").string()), "deep");
}

TEST(ArchiveExtract, DirectoryEntriesMakeDirectoriesOnly) {
  TempFolder folder;
  ZipBuilderEntry marked;
  marked.name = "marked";
  marked.method = 0;
  marked.attributes = 0x10;
  ZipBuilderEntry unixStyle;  // Unix mode bits above, no directory bit below
  unixStyle.name = "unix/style/";
  unixStyle.method = 0;
  unixStyle.attributes = 0x41ed0000;
  const std::string zip = ZipBuilder().Add(marked).Add(unixStyle).Build();
  ArchiveReader reader;
  reader.Open(Bytes(zip), zip.size());
  EXPECT_TRUE(reader.ExtractEntry(0, folder.TargetText()));
  EXPECT_TRUE(reader.ExtractEntry(1, folder.TargetText()));
  EXPECT_TRUE(std::filesystem::is_directory(folder.Target() / "marked"));
  EXPECT_TRUE(std::filesystem::is_directory(folder.Target() / "unix" / "style"));
}

TEST(ArchiveExtract, DataDescriptorsWithAndWithoutSignature) {
  TempFolder folder;
  ZipBuilderEntry signed_;
  signed_.name = "s.txt";
  signed_.data = Text(5000);
  signed_.descriptor = true;
  ZipBuilderEntry bare = signed_;
  bare.name = "b.txt";
  bare.method = 0;
  bare.descriptorSignature = false;
  const std::string zip = ZipBuilder().Add(signed_).Add(bare).Build();
  ArchiveReader reader;
  reader.Open(Bytes(zip), zip.size());
  EXPECT_TRUE(reader.ExtractEntry(0, folder.TargetText()));
  EXPECT_TRUE(reader.ExtractEntry(1, folder.TargetText()));
  EXPECT_EQ(ReadFile((folder.Target() / "b.txt").string()), Text(5000));
}

TEST(ArchiveDamage, CrcAndDescriptorMismatchesLeaveNoFile) {
  TempFolder folder;
  ZipBuilderEntry wrongCrc;
  wrongCrc.name = "crc.txt";
  wrongCrc.data = "payload";
  wrongCrc.overrideCrc = true;
  wrongCrc.crc = 0x12345678;
  const std::string zip = ZipBuilder().Add(wrongCrc).Build();
  ArchiveReader reader;
  reader.Open(Bytes(zip), zip.size());
  EXPECT_EQ(CauseOfExtract(reader, 0, folder.TargetText()), 11);
  EXPECT_FALSE(std::filesystem::exists(folder.Target() / "crc.txt"));

  ZipBuilderEntry described;
  described.name = "dd.txt";
  described.data = "payload";
  described.descriptor = true;
  std::string dd = ZipBuilder().Add(described).Build();
  const std::size_t descriptorCrc = 30 + 6 + ZipBuilder::Deflate("payload").size() + 4;
  dd[descriptorCrc] = static_cast<char>(dd[descriptorCrc] ^ 1);
  reader.Open(Bytes(dd), dd.size());
  EXPECT_EQ(CauseOfExtract(reader, 0, folder.TargetText()), 10);
  EXPECT_FALSE(std::filesystem::exists(folder.Target() / "dd.txt"));
}

TEST(ArchiveDamage, HeaderMismatchesAndMethodsAreCause10) {
  TempFolder folder;
  ZipBuilderEntry bzip;
  bzip.name = "m.txt";
  bzip.data = "x";
  bzip.method = 12;
  bzip.rawCompressed = "zz";
  std::string zip = ZipBuilder().Add(bzip).Add("ok.txt", "fine").Build();
  ArchiveReader reader;
  reader.Open(Bytes(zip), zip.size());
  EXPECT_EQ(CauseOfExtract(reader, 0, folder.TargetText()), 10);
  EXPECT_TRUE(reader.ExtractEntry(1, folder.TargetText()));

  std::string localFlags = ZipBuilder().Add("f.txt", "x").Build();
  localFlags[6] = 2;
  reader.Open(Bytes(localFlags), localFlags.size());
  EXPECT_EQ(CauseOfExtract(reader, 0, folder.TargetText()), 10);

  ZipBuilderEntry garbage;
  garbage.name = "g.txt";
  garbage.data = "whatever";
  garbage.rawCompressed = "\xff\xff\xff\xff";
  std::string bad = ZipBuilder().Add(garbage).Build();
  reader.Open(Bytes(bad), bad.size());
  EXPECT_EQ(CauseOfExtract(reader, 0, folder.TargetText()), 6);
}

TEST(ArchiveDamage, EntryStaysOpenAfterFailureUntilClosed) {
  TempFolder folder;
  ZipBuilderEntry wrongCrc;
  wrongCrc.name = "crc.txt";
  wrongCrc.data = "payload";
  wrongCrc.overrideCrc = true;
  const std::string zip = ZipBuilder().Add(wrongCrc).Add("ok.txt", "fine").Build();
  ArchiveReader reader;
  reader.Open(Bytes(zip), zip.size());
  EXPECT_THROW(reader.ExtractEntry(0, folder.TargetText()), CZipException);
  EXPECT_FALSE(reader.ExtractEntry(1, folder.TargetText()));
  reader.CloseEntry();
  EXPECT_TRUE(reader.ExtractEntry(1, folder.TargetText()));
}

TEST(ArchiveDamage, EncryptedEntryAndBadIndexGiveFalse) {
  TempFolder folder;
  ZipBuilderEntry locked;
  locked.name = "locked.txt";
  locked.data = "secret";
  locked.flags = ArchiveEntryInfo::kEncrypted;
  const std::string zip = ZipBuilder().Add(locked).Build();
  ArchiveReader reader;
  reader.Open(Bytes(zip), zip.size());
  EXPECT_FALSE(reader.ExtractEntry(0, folder.TargetText()));
  EXPECT_FALSE(reader.ExtractEntry(1, folder.TargetText()));
  EXPECT_FALSE(reader.ExtractEntry(-1, folder.TargetText()));
  EXPECT_FALSE(std::filesystem::exists(folder.Target() / "locked.txt"));
}

TEST(ArchiveSizes, MoreDataThanDeclaredIsRefused) {
  TempFolder folder;
  ZipBuilderEntry bomb;
  bomb.name = "bomb.txt";
  bomb.data = std::string(100000, 'A');
  bomb.overrideSize = true;
  bomb.uncompressedSize = 1000;
  bomb.overrideCrc = true;
  bomb.crc = ZipBuilder::Crc(std::string(1000, 'A'));
  const std::string zip = ZipBuilder().Add(bomb).Build();
  ArchiveReader reader;
  reader.Open(Bytes(zip), zip.size());
  EXPECT_EQ(CauseOfExtract(reader, 0, folder.TargetText()), 10);
  EXPECT_FALSE(std::filesystem::exists(folder.Target() / "bomb.txt"));
}

TEST(ArchiveSizes, MoreDataThanDeclaredWithABadChecksumNamesTheChecksum) {
  TempFolder folder;
  ZipBuilderEntry bomb;
  bomb.name = "bomb.txt";
  bomb.data = std::string(100000, 'A');
  bomb.overrideSize = true;
  bomb.uncompressedSize = 1000;
  const std::string zip = ZipBuilder().Add(bomb).Build();
  ArchiveReader reader;
  reader.Open(Bytes(zip), zip.size());
  EXPECT_EQ(CauseOfExtract(reader, 0, folder.TargetText()), 11);
  EXPECT_FALSE(std::filesystem::exists(folder.Target() / "bomb.txt"));
}

TEST(ArchiveSizes, LessDataThanDeclaredIsIncomplete) {
  TempFolder folder;
  ZipBuilderEntry shortEntry;
  shortEntry.name = "short.txt";
  shortEntry.data = "only this";
  shortEntry.overrideSize = true;
  shortEntry.uncompressedSize = 50;
  const std::string zip = ZipBuilder().Add(shortEntry).Build();
  ArchiveReader reader;
  reader.Open(Bytes(zip), zip.size());
  bool result = true;
  EXPECT_EQ(CauseOfExtract(reader, 0, folder.TargetText(), &result), 0);
  EXPECT_FALSE(result);
  EXPECT_FALSE(std::filesystem::exists(folder.Target() / "short.txt"));
}

TEST(ArchiveSizes, CompressedSizePastTheStreamIsCause10) {
  TempFolder folder;
  std::string zip = ZipBuilder().Add("a.txt", "alpha", 0).Build();
  // Central and local compressed size both claim 1 MB.
  zip[18 + 2] = 0x10;
  const std::size_t central = zip.find("PK\x01\x02");
  zip[central + 20 + 2] = 0x10;
  ArchiveReader reader;
  reader.Open(Bytes(zip), zip.size());
  EXPECT_EQ(CauseOfExtract(reader, 0, folder.TargetText()), 10);
}

class ArchiveNames : public ::testing::TestWithParam<std::string> {};

TEST_P(ArchiveNames, EscapingNamesAreRefusedBeforeAnythingIsWritten) {
  TempFolder folder;
  const std::string zip = ZipBuilder().Add(GetParam(), "escaped").Build();
  ArchiveReader reader;
  reader.Open(Bytes(zip), zip.size());
  EXPECT_EQ(CauseOfExtract(reader, 0, folder.TargetText()), 10);
  EXPECT_EQ(folder.Contents(), std::vector<std::string>{"target"});
}

INSTANTIATE_TEST_SUITE_P(Unsafe, ArchiveNames,
                         ::testing::Values<std::string>("../up.txt", "a/../../up.txt", "a\\..\\..\\up.txt", "..",
                                                        "a/.. /x", "C:/win.txt", "c:up.txt", "//server/share/x.txt",
                                                        "\\\\server\\x", "a/b\x01.txt", std::string("a\0b", 3),
                                                        "a/.../x"));

TEST(ArchiveNamesInside, LeadingSeparatorAndDotFoldersStayInside) {
  TempFolder folder;
  const std::string zip = ZipBuilder().Add("/inside.txt", "in").Add("./dot/./here.txt", "dot").Build();
  ArchiveReader reader;
  reader.Open(Bytes(zip), zip.size());
  EXPECT_TRUE(reader.ExtractEntry(0, folder.TargetText()));
  EXPECT_TRUE(reader.ExtractEntry(1, folder.TargetText()));
  EXPECT_EQ(ReadFile((folder.Target() / "inside.txt").string()), "in");
  EXPECT_EQ(ReadFile((folder.Target() / "dot" / "here.txt").string()), "dot");
}

TEST(ArchiveFileInfo, ModificationTimeIsSetAndInvalidDatesAreNoError) {
  TempFolder folder;
  ZipBuilderEntry dated;
  dated.name = "dated.txt";
  dated.data = "d";
  dated.dosDate = static_cast<std::uint16_t>(((2020 - 1980) << 9) | (6 << 5) | 15);
  dated.dosTime = static_cast<std::uint16_t>((13 << 11) | (45 << 5) | 10);
  ZipBuilderEntry undated = dated;
  undated.name = "undated.txt";
  undated.dosDate = 0;
  undated.dosTime = 0;
  const std::string zip = ZipBuilder().Add(dated).Add(undated).Build();
  ArchiveReader reader;
  reader.Open(Bytes(zip), zip.size());
  ASSERT_TRUE(reader.ExtractEntry(0, folder.TargetText()));
  ASSERT_TRUE(reader.ExtractEntry(1, folder.TargetText()));
  struct stat st;
  ASSERT_EQ(stat((folder.Target() / "dated.txt").string().c_str(), &st), 0);
  struct tm local = {};
  local.tm_year = 120;
  local.tm_mon = 5;
  local.tm_mday = 15;
  local.tm_hour = 13;
  local.tm_min = 45;
  local.tm_sec = 20;
  local.tm_isdst = -1;
  EXPECT_EQ(st.st_mtime, mktime(&local));
}

TEST(ArchiveFileInfo, ReadOnlyFileInTheWayIsReplaced) {
  TempFolder folder;
  ZipBuilderEntry readOnly;
  readOnly.name = "ro.txt";
  readOnly.data = "first";
  readOnly.attributes = 0x21;
  const std::string first = ZipBuilder().Add(readOnly).Build();
  readOnly.data = "second";
  const std::string second = ZipBuilder().Add(readOnly).Build();
  ArchiveReader reader;
  reader.Open(Bytes(first), first.size());
  ASSERT_TRUE(reader.ExtractEntry(0, folder.TargetText()));
  std::filesystem::permissions(folder.Target() / "ro.txt", std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::remove);
  reader.Open(Bytes(second), second.size());
  ASSERT_TRUE(reader.ExtractEntry(0, folder.TargetText()));
  EXPECT_EQ(ReadFile((folder.Target() / "ro.txt").string()), "second");
}

TEST(ArchiveCauses, TableMapsCodesToCauses) {
  EXPECT_EQ(CZipException::CauseFromCode(1), 2);
  EXPECT_EQ(CZipException::CauseFromCode(2), 3);
  EXPECT_EQ(CZipException::CauseFromCode(-1), 4);
  EXPECT_EQ(CZipException::CauseFromCode(-3), 6);
  EXPECT_EQ(CZipException::CauseFromCode(-6), 9);
  EXPECT_EQ(CZipException::CauseFromCode(-101), 10);
  EXPECT_EQ(CZipException::CauseFromCode(-102), 11);
  EXPECT_EQ(CZipException::CauseFromCode(-103), 12);
  EXPECT_EQ(CZipException::CauseFromCode(-107), 16);
  EXPECT_EQ(CZipException::CauseFromCode(-108), 17);
  EXPECT_EQ(CZipException::CauseFromCode(-109), 18);
  EXPECT_EQ(CZipException::CauseFromCode(0), 1);
  EXPECT_EQ(CZipException::CauseFromCode(-110), 1);
}
