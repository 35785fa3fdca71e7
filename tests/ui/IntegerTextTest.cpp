#include "ui/IntegerText.h"

#include <gtest/gtest.h>

namespace {

int32_t Parse(const std::string& text, int32_t start = -777) {
  int32_t value = start;
  ui::ParseDialogInteger(text, value);
  return value;
}

TEST(DialogIntegerText, AcceptsWhatAUserTypesAsAWholeNumber) {
  EXPECT_EQ(Parse("300"), 300);
  EXPECT_EQ(Parse("  42 "), 42);
  EXPECT_EQ(Parse("-5"), -5);
  EXPECT_EQ(Parse("+7"), 7);
  EXPECT_EQ(Parse("0"), 0);
  EXPECT_EQ(Parse("007"), 7);
  EXPECT_EQ(Parse("2147483647"), 2147483647);
  EXPECT_EQ(Parse("-2147483648"), INT32_MIN);
}

TEST(DialogIntegerText, RefusesAnythingElseAndKeepsTheOldValue) {
  for (const char* bad : {"", " ", "-", "+", "12a", "a12", "1 2", "3.5", "0x10", "--1", "2147483648", "-2147483649",
                          "99999999999999999999"}) {
    int32_t value = 123;
    EXPECT_FALSE(ui::ParseDialogInteger(bad, value)) << '"' << bad << '"';
    EXPECT_EQ(value, 123) << '"' << bad << '"';
  }
}

TEST(DialogIntegerText, FormatReadsBackToTheSameNumber) {
  for (int32_t v : {0, 1, -1, 72, INT32_MAX, INT32_MIN}) {
    int32_t back = 5;
    ASSERT_TRUE(ui::ParseDialogInteger(ui::FormatDialogInteger(v), back));
    EXPECT_EQ(back, v);
  }
}

}  // namespace
