// The dialog layer against real windows (under Wine in the tests).
#include <gtest/gtest.h>

#include <vector>

#include "ui/windows/Application.h"
#include "ui/windows/Controls.h"
#include "ui/windows/Dialog.h"
#include "ui/windows/Menu.h"

namespace {

constexpr int kTemplate = 101;
constexpr int kNumber = 201;
constexpr int kSwitch = 202;
constexpr int kList = 203;
constexpr int kRows = 204;

class TestDialog : public ui::CDialog {
public:
  TestDialog() : CDialog(kTemplate) {}
  int32_t number = 72;
  int32_t on = 1;
  int32_t index = 1;
  std::vector<WORD> changeNotes;
  std::vector<std::string> badEntries;
  // Entries typed between two OK presses of a modal run.
  std::vector<std::string> typed;

protected:
  void DoDataExchange(ui::DataExchange& dx) override {
    dx.Integer(kNumber, number);
    dx.Check(kSwitch, on);
    dx.ListIndex(kList, index);
  }
  bool OnInitDialog() override {
    ui::CComboBox list(GetItem(kList));
    for (const char* item : {">", "|", ":"}) list.AddString(item);
    CDialog::OnInitDialog();
    if (IsModal()) PostNextEntry();
    return true;
  }
  bool OnCommand(WORD code, WORD id, HWND) override {
    if (code == EN_CHANGE || code == CBN_SELCHANGE || code == BN_CLICKED) changeNotes.push_back(id);
    return false;
  }
  void OnOK() override {
    CDialog::OnOK();
    if (IsWindow()) PostNextEntry();
  }
  void ReportBadEntry(int controlId, const std::string& message) override {
    badEntries.push_back(std::to_string(controlId) + ":" + message);
  }

private:
  void PostNextEntry() {
    if (typed.empty()) {
      Post(WM_COMMAND, IDCANCEL);
      return;
    }
    SetItemText(kNumber, typed.front());
    typed.erase(typed.begin());
    Post(WM_COMMAND, IDOK);
  }
};

class DialogLayer : public ::testing::Test {
protected:
  static void SetUpTestSuite() { ui::InitCommonControlsForDialogs(); }
};

TEST_F(DialogLayer, ModelessDialogKeepsTheTemplatesHiddenAndDisabledState) {
  TestDialog dlg;
  ASSERT_TRUE(dlg.Create());
  EXPECT_FALSE(dlg.IsVisible());
  EXPECT_FALSE(dlg.IsEnabled());
  EXPECT_EQ(dlg.GetItemText(kNumber), "72");
  EXPECT_EQ(dlg.ReadCheck(kSwitch), 1);
  EXPECT_EQ(dlg.ReadListIndex(kList), 1);
  dlg.DestroyWindow();
  EXPECT_FALSE(dlg.IsWindow());
}

TEST_F(DialogLayer, WritingTheFieldsFiresNoChangeHandler) {
  TestDialog dlg;
  ASSERT_TRUE(dlg.Create());
  dlg.number = 80;
  dlg.on = 0;
  dlg.index = 2;
  dlg.UpdateData(false);
  EXPECT_EQ(dlg.GetItemText(kNumber), "80");
  EXPECT_TRUE(dlg.changeNotes.empty());

  // The user's own typing still reaches the handler.
  ::SetWindowTextA(dlg.GetItem(kNumber), "81");
  EXPECT_EQ(dlg.changeNotes, std::vector<WORD>{kNumber});
}

TEST_F(DialogLayer, OkClosesOnlyOnceEveryEntryCouldBeRead) {
  TestDialog dlg;
  dlg.typed = {"abc", "66"};
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(dlg.badEntries, std::vector<std::string>{"201:Please enter an integer."});
  EXPECT_EQ(dlg.number, 66);
}

TEST_F(DialogLayer, CancelKeepsTheFields) {
  TestDialog dlg;
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  EXPECT_EQ(dlg.number, 72);
}

TEST_F(DialogLayer, ListViewRowInsertedAtTheTopStandsFirst) {
  TestDialog dlg;
  ASSERT_TRUE(dlg.Create());
  ui::CListView rows(dlg.GetItem(kRows));
  rows.InsertColumn(0, "Window", 100);
  rows.InsertColumn(1, "Status", 60);
  for (const char* title : {"Re: one", "Re: two"}) {
    const int row = rows.InsertItem(0, title);
    rows.SetItemText(row, 1, "processed (q)");
  }
  ASSERT_EQ(rows.GetItemCount(), 2);
  EXPECT_EQ(rows.GetItemText(0, 0), "Re: two");
  EXPECT_EQ(rows.GetItemText(1, 0), "Re: one");
  EXPECT_EQ(rows.GetItemText(0, 1), "processed (q)");
}

TEST_F(DialogLayer, ComboFindExactIsCaseSensitiveAndWhole) {
  TestDialog dlg;
  ASSERT_TRUE(dlg.Create());
  ui::CComboBox list(dlg.GetItem(kList));
  list.AddString("Short");
  EXPECT_EQ(list.FindExact("|"), 1);
  EXPECT_EQ(list.FindExact("short"), -1);
  EXPECT_EQ(list.FindExact("Sho"), -1);
  EXPECT_EQ(list.FindExact("Short"), 3);
}

TEST_F(DialogLayer, RenamingMenuItemsKeepsTheDefaultItem) {
  ui::CMenu menu;
  ASSERT_TRUE(menu.Load(102));
  ui::CPopupMenu popup = menu.GetSubMenu(0);
  ASSERT_TRUE(popup.IsValid());
  ASSERT_TRUE(popup.SetDefaultItemByPosition(0));
  EXPECT_TRUE(popup.ModifyByPosition(0, 301, "Eins"));
  EXPECT_TRUE(popup.ModifyByCommand(302, "Zwei"));
  EXPECT_EQ(popup.GetDefaultCommand(), 301u);
  EXPECT_EQ(popup.GetItemTextByPosition(0), "Eins");
  EXPECT_EQ(popup.GetItemTextByPosition(1), "Zwei");
  EXPECT_EQ(popup.GetCommandAt(1), 302u);
}

}  // namespace
