// Thin wrappers for the common controls the dialogs hold.  None owns its
// window: the dialog that holds the control destroys it.  CToolTip is the
// exception, as it is a window of its own that its creator owns.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "ui/windows/Window.h"
#include "win32/Handles.h"

namespace ui {

class CListView : public CWindow {
public:
  using CWindow::CWindow;
  int InsertColumn(int index, const std::string& heading, int width, int format = LVCFMT_LEFT);
  // Returns the new row's index; a row inserted at 0 stands first.
  int InsertItem(int index, const std::string& text);
  bool SetItemText(int row, int column, const std::string& text);
  std::string GetItemText(int row, int column) const;
  int GetItemCount() const { return static_cast<int>(Send(LVM_GETITEMCOUNT)); }
  void DeleteAllItems() { Send(LVM_DELETEALLITEMS); }
};

class CComboBox : public CWindow {
public:
  using CWindow::CWindow;
  void ResetContent() { Send(CB_RESETCONTENT); }
  int AddString(const std::string& text) {
    return static_cast<int>(Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
  }
  int GetCount() const { return static_cast<int>(Send(CB_GETCOUNT)); }
  int GetCurSel() const { return static_cast<int>(Send(CB_GETCURSEL)); }
  void SetCurSel(int index) { Send(CB_SETCURSEL, static_cast<WPARAM>(index)); }
  std::string GetItemText(int index) const;
  // The index of the first item whose text is exactly text (case-sensitive,
  // unlike CB_FINDSTRINGEXACT), or -1.
  int FindExact(const std::string& text) const;
};

class CListBox : public CWindow {
public:
  using CWindow::CWindow;
  void ResetContent() { Send(LB_RESETCONTENT); }
  int AddString(const std::string& text) {
    return static_cast<int>(Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
  }
  int GetCount() const { return static_cast<int>(Send(LB_GETCOUNT)); }
  int GetCurSel() const { return static_cast<int>(Send(LB_GETCURSEL)); }
  void SetCurSel(int index) { Send(LB_SETCURSEL, static_cast<WPARAM>(index)); }
  std::string GetItemText(int index) const;
};

class CProgressBar : public CWindow {
public:
  using CWindow::CWindow;
  void SetRange(int low, int high) { Send(PBM_SETRANGE32, static_cast<WPARAM>(low), high); }
  void SetPos(int pos) { Send(PBM_SETPOS, static_cast<WPARAM>(pos)); }
  int GetPos() const { return static_cast<int>(Send(PBM_GETPOS)); }
};

// A tooltip window with tools over controls; it relays the mouse messages of
// each tool window itself (TTF_SUBCLASS).
class CToolTip {
public:
  bool Create(HWND owner);
  void Destroy() { window_.Reset(); }
  HWND GetHandle() const { return window_.Get(); }
  bool AddTool(HWND tool, UINT id, const std::string& text);
  void UpdateTipText(HWND tool, UINT id, const std::string& text);

private:
  UniqueWindow window_;
};

}  // namespace ui
