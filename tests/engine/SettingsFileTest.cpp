// The options record and its raw 168-byte file image.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "engine/Settings.h"

namespace {

// A file name private to one test, removed again when the test ends.
class TempFile {
public:
  explicit TempFile(const char* tag) : path_(std::string("kelvane_settings_") + tag + ".tmp") {
    std::remove(path_.c_str());
  }
  ~TempFile() { std::remove(path_.c_str()); }
  const char* path() const { return path_.c_str(); }
  void Write(const std::vector<unsigned char>& bytes) const {
    std::FILE* f = std::fopen(path(), "wb");
    ASSERT_NE(f, nullptr);
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
  std::vector<unsigned char> Read() const {
    std::vector<unsigned char> bytes;
    std::FILE* f = std::fopen(path(), "rb");
    if (f == nullptr) return bytes;
    int c;
    while ((c = std::fgetc(f)) != EOF) bytes.push_back(static_cast<unsigned char>(c));
    std::fclose(f);
    return bytes;
  }

private:
  std::string path_;
};

int32_t IntAt(const std::vector<unsigned char>& b, std::size_t at) {
  return static_cast<int32_t>(static_cast<uint32_t>(b[at]) | static_cast<uint32_t>(b[at + 1]) << 8 |
                              static_cast<uint32_t>(b[at + 2]) << 16 | static_cast<uint32_t>(b[at + 3]) << 24);
}

TEST(SettingsFile, FreshRecordImageMatchesTheOffsetsTable) {
  Settings s;
  std::memset(&s, 0xAB, sizeof s);
  ResetSettings(s);
  TempFile file("fresh");
  ASSERT_FALSE(SaveSettings(s, file.path()));
  const std::vector<unsigned char> b = file.Read();
  ASSERT_EQ(b.size(), 168u);
  const unsigned char head[8] = {0x48, 0, 0, 0, 0x3E, 0, 0, 0};
  EXPECT_EQ(std::memcmp(b.data(), head, 8), 0);
  const std::pair<std::size_t, int32_t> ints[] = {{8, 1},    {12, 1},   {16, 1},  {20, 1},  {24, 1}, {28, 1}, {32, 200},
                                                  {36, 500}, {40, 300}, {44, 1},  {48, 1},  {52, 0}, {56, 0}, {60, 0},
                                                  {64, 1},   {152, 0},  {156, 1}, {160, 0}, {164, 0}};
  for (const auto& field : ints) EXPECT_EQ(IntAt(b, field.first), field.second) << "offset " << field.first;
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[68]), 20), "%n <%m> scribbled:\\n");
  for (std::size_t i = 88; i < 152; ++i) EXPECT_EQ(b[i], 0) << "offset " << i;
}

TEST(SettingsFile, SaveAndLoadCarryEveryByteIncludingFiller) {
  Settings s;
  ResetSettings(s);
  s.wrapColumn = -5;
  s.quoteChar = '\xFE';
  s.filler[0] = 1;
  s.filler[1] = 2;
  s.filler[2] = 0xFF;
  s.checkInterval = 0x7FFFFFFF;
  s.reformatHtml = -2147483647 - 1;
  std::memset(s.customHeader, 'z', sizeof s.customHeader);  // no zero at all
  TempFile file("roundtrip");
  ASSERT_FALSE(SaveSettings(s, file.path()));
  Settings loaded;
  ResetSettings(loaded);
  ASSERT_FALSE(LoadSettings(loaded, file.path()));
  EXPECT_EQ(std::memcmp(&loaded, &s, sizeof s), 0);
  EXPECT_EQ(CustomHeaderLength(loaded), 80u);
  const std::vector<unsigned char> b = file.Read();
  EXPECT_EQ(b[5], 1);
  EXPECT_EQ(b[7], 0xFF);
  EXPECT_EQ(IntAt(b, 0), -5);
}

TEST(SettingsFile, ShortFileReplacesOnlyTheBytesItHolds) {
  Settings defaults;
  ResetSettings(defaults);
  TempFile file("short");
  file.Write({80, 0, 0, 0});
  Settings s = defaults;
  ASSERT_FALSE(LoadSettings(s, file.path()));
  EXPECT_EQ(s.wrapColumn, 80);
  Settings expected = defaults;
  expected.wrapColumn = 80;
  EXPECT_EQ(std::memcmp(&s, &expected, sizeof s), 0);

  // Half a field: only its low bytes change.
  file.Write({0x10, 0x01});
  s = defaults;
  s.wrapColumn = 0x7F000000;
  ASSERT_FALSE(LoadSettings(s, file.path()));
  EXPECT_EQ(s.wrapColumn, 0x7F000110);

  file.Write({});
  s = defaults;
  ASSERT_FALSE(LoadSettings(s, file.path()));
  EXPECT_EQ(std::memcmp(&s, &defaults, sizeof s), 0);
}

TEST(SettingsFile, LongerFileUsesItsFirst168Bytes) {
  std::vector<unsigned char> bytes(200, 0);
  bytes[0] = 99;
  bytes[4] = '|';
  bytes[16] = 3;
  bytes[164] = 1;
  for (std::size_t i = 168; i < 200; ++i) bytes[i] = 0xEE;
  TempFile file("long");
  file.Write(bytes);
  Settings s;
  ResetSettings(s);
  ASSERT_FALSE(LoadSettings(s, file.path()));
  EXPECT_EQ(s.wrapColumn, 99);
  EXPECT_EQ(s.quoteChar, '|');
  EXPECT_EQ(s.headerStyle, 3);
  EXPECT_EQ(s.reformatHtml, 1);
  EXPECT_EQ(s.cursorAtTop, 0);
}

TEST(SettingsFile, MissingFileLeavesTheRecordAndReportsIt) {
  Settings s;
  ResetSettings(s);
  s.wrapColumn = 61;
  EXPECT_TRUE(LoadSettings(s, "no such directory/Kelvane.cfg"));
  EXPECT_EQ(s.wrapColumn, 61);
  EXPECT_TRUE(SaveSettings(s, "no such directory/Kelvane.cfg"));
}

}  // namespace
