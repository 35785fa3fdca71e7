#include "app/SettingsFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class SettingsFileTest : public ::testing::Test {
protected:
  void SetUp() override {
    path_ =
        std::string("settings_file_test_") + ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".cfg";
    std::remove(path_.c_str());
    std::remove((path_ + ".tmp").c_str());
  }
  void TearDown() override {
    std::remove(path_.c_str());
    std::remove((path_ + ".tmp").c_str());
  }
  std::string path_;
};

TEST_F(SettingsFileTest, ReplacesAnOldFileWithTheFullRecord) {
  {
    std::ofstream old(path_, std::ios::binary);
    old << std::string(500, 'z');
  }
  Settings s;
  ResetSettings(s);
  s.wrapColumn = 66;
  EXPECT_FALSE(SaveSettingsReplacing(s, path_.c_str()));
  const std::string bytes = ReadAll(path_);
  ASSERT_EQ(bytes.size(), 168u);
  EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 66);
  EXPECT_FALSE(std::ifstream(path_ + ".tmp").good()) << "no temporary file is left behind";

  Settings back;
  ResetSettings(back);
  back.wrapColumn = 1;
  EXPECT_FALSE(LoadSettings(back, path_.c_str()));
  EXPECT_EQ(back.wrapColumn, 66);
}

TEST_F(SettingsFileTest, AFailedWriteLeavesTheOldFileWhole) {
  {
    std::ofstream old(path_, std::ios::binary);
    old << "old contents";
  }
  Settings s;
  ResetSettings(s);
  // A directory in the way of the temporary file makes the write fail.
  const std::string blocker = "no_such_dir_for_settings/x.cfg";
  EXPECT_TRUE(SaveSettingsReplacing(s, blocker.c_str()));
  EXPECT_EQ(ReadAll(path_), "old contents");
}

}  // namespace
