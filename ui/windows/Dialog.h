// Dialogs made from resource templates, modal or modeless.
//
// How to make a modal dialog from a template (IDD_MINE in the .rc file):
//
//   class CMyDialog : public ui::CDialog {
//   public:
//       CMyDialog() : CDialog(IDD_MINE) {}
//       int32_t count = 0;                        // the dialog's fields
//   protected:
//       void DoDataExchange(ui::DataExchange& dx) override { dx.Integer(IDC_COUNT, count); }
//       bool OnInitDialog() override { CDialog::OnInitDialog(); /* texts, lists */ return true; }
//       bool OnCommand(WORD code, WORD id, HWND control) override;  // buttons, list changes
//   };
//   CMyDialog dlg;  dlg.count = 5;
//   if (dlg.DoModal(owner) == IDOK) use(dlg.count);
//
// OnInitDialog of the base writes every field into its control; the base
// OnOK reads them back and closes with IDOK only when every entry could be
// read (a bad entry is reported and the dialog stays open); OnCancel closes
// with IDCANCEL.  Create() makes a modeless dialog instead: it keeps the
// template's visible and enabled states, its OK and Cancel hide it, and the
// application's message loop must offer it its messages (CApplication does
// that for the main window).  The object must outlive its window; the
// destructor destroys a modeless window that is still open.
//
// While the base writes the fields into the controls, the notifications the
// controls send about that (EN_CHANGE, CBN_SELCHANGE, ...) are not passed to
// OnCommand: they describe the program's own change, not the user's.
#pragma once

#include <windows.h>

#include <string>

#include "ui/DataExchange.h"
#include "ui/windows/Window.h"

namespace ui {

// A control that wants its parent's WM_CTLCOLOR* and WM_COMMAND
// notifications handles kReflectBase + message; a non-zero result means it
// took them.
constexpr UINT kReflectBase = 0xBC00;

class CDialog : public CWindow, public IDialogControls {
public:
  explicit CDialog(int templateId, HINSTANCE instance = nullptr);
  ~CDialog() override;
  CDialog(const CDialog&) = delete;
  CDialog& operator=(const CDialog&) = delete;

  // Runs the dialog in a modal loop of the system (timers of other windows
  // keep firing) and returns the code EndDialog was given, or -1.
  INT_PTR DoModal(HWND owner = nullptr);
  // Makes a modeless dialog; false when the template cannot be made.
  bool Create(HWND owner = nullptr);
  void DestroyWindow();
  void EndDialog(INT_PTR result);
  bool IsModal() const { return modal_; }

  // read: controls into fields; else fields into controls.  False when a
  // read stopped at a bad entry.
  bool UpdateData(bool read);

  std::string GetItemText(int id) const;
  void SetItemText(int id, const std::string& text);

  // A message box owned by this dialog.
  int ShowMessage(const std::string& text, const std::string& caption, UINT flags) const;

  // IDialogControls, over the dialog's child controls.
  std::string ReadText(int controlId) const override;
  void WriteText(int controlId, const std::string& text) override;
  int ReadCheck(int controlId) const override;
  void WriteCheck(int controlId, int state) override;
  int ReadListIndex(int controlId) const override;
  void WriteListIndex(int controlId, int index) override;
  void LimitText(int controlId, std::size_t maxChars) override;
  void ReportBadEntry(int controlId, const std::string& message) override;

protected:
  virtual void DoDataExchange(DataExchange&) {}
  // Return false when the focus was set here.
  virtual bool OnInitDialog();
  // Commands from buttons, menus and control notifications; return true
  // when handled.  IDOK and IDCANCEL reach OnOK and OnCancel unless taken here.
  virtual bool OnCommand(WORD code, WORD id, HWND control);
  virtual void OnOK();
  virtual void OnCancel();
  virtual void OnClose() { OnCancel(); }
  virtual void OnTimer(UINT_PTR) {}
  virtual void OnDestroy() {}
  // Any other message; return true and set result when handled.
  virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

  bool IsWritingData() const { return writing_; }

private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  int templateId_;
  HINSTANCE instance_;
  bool modal_ = false;
  bool writing_ = false;
};

}  // namespace ui
