#include "ui/DataExchange.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

// Controls as a table, recording every write and every reported error.
class FakeControls : public ui::IDialogControls {
public:
  std::map<int, std::string> texts;
  std::map<int, int> checks;
  std::map<int, int> lists;
  std::map<int, std::size_t> limits;
  std::vector<int> writes;
  std::vector<std::pair<int, std::string>> errors;

  std::string ReadText(int id) const override {
    auto it = texts.find(id);
    return it == texts.end() ? std::string() : it->second;
  }
  void WriteText(int id, const std::string& text) override {
    texts[id] = text;
    writes.push_back(id);
  }
  int ReadCheck(int id) const override {
    auto it = checks.find(id);
    return it == checks.end() ? 0 : it->second;
  }
  void WriteCheck(int id, int state) override {
    checks[id] = state;
    writes.push_back(id);
  }
  int ReadListIndex(int id) const override {
    auto it = lists.find(id);
    return it == lists.end() ? -1 : it->second;
  }
  void WriteListIndex(int id, int index) override {
    lists[id] = index;
    writes.push_back(id);
  }
  void LimitText(int id, std::size_t maxChars) override { limits[id] = maxChars; }
  void ReportBadEntry(int id, const std::string& message) override { errors.emplace_back(id, message); }
};

struct Fields {
  int32_t number = 72;
  int32_t first = 0;
  int32_t second = 1;
  int32_t index = 2;
  std::string text = "abc";
};

void Exchange(ui::DataExchange& dx, Fields& f) {
  dx.Check(10, f.first);
  dx.Integer(11, f.number);
  dx.ListIndex(12, f.index);
  dx.Check(13, f.second);
  dx.Text(14, f.text);
  dx.MaxChars(14, f.text, 5);
}

TEST(DataExchangeWrite, ShowsEveryFieldInItsControl) {
  FakeControls c;
  Fields f;
  f.first = 1;
  f.second = 0;
  ui::DataExchange dx(c, ui::DataExchange::kWrite);
  Exchange(dx, f);
  EXPECT_FALSE(dx.Failed());
  EXPECT_EQ(c.texts[11], "72");
  EXPECT_EQ(c.checks[10], 1);
  EXPECT_EQ(c.checks[13], 0);
  EXPECT_EQ(c.lists[12], 2);
  EXPECT_EQ(c.texts[14], "abc");
  EXPECT_EQ(c.limits[14], 5u);
}

TEST(DataExchangeWrite, LeavesControlsAloneThatAlreadyShowTheirField) {
  FakeControls c;
  c.texts[11] = "72";
  c.checks[10] = 0;
  c.checks[13] = 1;
  c.lists[12] = 2;
  c.texts[14] = "abc";
  Fields f;
  ui::DataExchange dx(c, ui::DataExchange::kWrite);
  Exchange(dx, f);
  EXPECT_TRUE(c.writes.empty());

  f.number = 75;
  ui::DataExchange again(c, ui::DataExchange::kWrite);
  Exchange(again, f);
  EXPECT_EQ(c.writes, std::vector<int>{11});
}

TEST(DataExchangeWrite, AnyNonZeroSwitchShowsTicked) {
  FakeControls c;
  int32_t odd = 7;
  ui::DataExchange dx(c, ui::DataExchange::kWrite);
  dx.Check(1, odd);
  EXPECT_EQ(c.checks[1], 1);
}

TEST(DataExchangeRead, CopiesEveryControlIntoItsField) {
  FakeControls c;
  c.checks[10] = 1;
  c.texts[11] = " 80 ";
  c.lists[12] = 4;
  c.checks[13] = 0;
  c.texts[14] = "xyz";
  Fields f;
  ui::DataExchange dx(c, ui::DataExchange::kRead);
  Exchange(dx, f);
  EXPECT_FALSE(dx.Failed());
  EXPECT_EQ(f.first, 1);
  EXPECT_EQ(f.number, 80);
  EXPECT_EQ(f.index, 4);
  EXPECT_EQ(f.second, 0);
  EXPECT_EQ(f.text, "xyz");
  EXPECT_TRUE(c.errors.empty());
}

TEST(DataExchangeRead, StopsAtATextThatIsNotAWholeNumber) {
  FakeControls c;
  c.checks[10] = 1;
  c.texts[11] = "7x";
  c.lists[12] = 0;
  c.checks[13] = 0;
  c.texts[14] = "new";
  Fields f;
  ui::DataExchange dx(c, ui::DataExchange::kRead);
  Exchange(dx, f);
  EXPECT_TRUE(dx.Failed());
  EXPECT_EQ(f.first, 1) << "a field before the bad entry keeps its new value";
  EXPECT_EQ(f.number, 72) << "the bad entry leaves its field alone";
  EXPECT_EQ(f.index, 2) << "fields after it are not read";
  EXPECT_EQ(f.second, 1);
  EXPECT_EQ(f.text, "abc");
  ASSERT_EQ(c.errors.size(), 1u);
  EXPECT_EQ(c.errors[0].first, 11);
  EXPECT_EQ(c.errors[0].second, "Please enter an integer.");
}

TEST(DataExchangeRead, RefusesATextLongerThanItsLimit) {
  FakeControls c;
  c.texts[11] = "72";
  c.texts[14] = "123456";
  Fields f;
  ui::DataExchange dx(c, ui::DataExchange::kRead);
  Exchange(dx, f);
  EXPECT_TRUE(dx.Failed());
  ASSERT_EQ(c.errors.size(), 1u);
  EXPECT_EQ(c.errors[0].first, 14);
  EXPECT_EQ(c.errors[0].second, "Please enter no more than 5 characters.");

  c.errors.clear();
  c.texts[14] = "12345";
  ui::DataExchange fits(c, ui::DataExchange::kRead);
  Exchange(fits, f);
  EXPECT_FALSE(fits.Failed());
  EXPECT_EQ(f.text, "12345");
}

TEST(DataExchangeRead, NoSelectionReadsAsMinusOne) {
  FakeControls c;
  int32_t index = 3;
  ui::DataExchange dx(c, ui::DataExchange::kRead);
  dx.ListIndex(5, index);
  EXPECT_EQ(index, -1);
}

}  // namespace
