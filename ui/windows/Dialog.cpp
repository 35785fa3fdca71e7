#include "ui/windows/Dialog.h"

#include <commctrl.h>

namespace ui {

CDialog::CDialog(int templateId, HINSTANCE instance)
    : templateId_(templateId), instance_(instance != nullptr ? instance : ::GetModuleHandleA(nullptr)) {}

CDialog::~CDialog() {
  if (!modal_) DestroyWindow();
}

INT_PTR CDialog::DoModal(HWND owner) {
  modal_ = true;
  const INT_PTR result =
      ::DialogBoxParamA(instance_, MAKEINTRESOURCEA(templateId_), owner, DialogProc, reinterpret_cast<LPARAM>(this));
  Attach(nullptr);
  return result;
}

bool CDialog::Create(HWND owner) {
  modal_ = false;
  HWND hwnd =
      ::CreateDialogParamA(instance_, MAKEINTRESOURCEA(templateId_), owner, DialogProc, reinterpret_cast<LPARAM>(this));
  return hwnd != nullptr;
}

void CDialog::DestroyWindow() {
  HWND hwnd = GetHandle();
  if (hwnd != nullptr && ::IsWindow(hwnd)) ::DestroyWindow(hwnd);
  Attach(nullptr);
}

void CDialog::EndDialog(INT_PTR result) {
  if (modal_)
    ::EndDialog(GetHandle(), result);
  else
    Show(SW_HIDE);
}

bool CDialog::UpdateData(bool read) {
  DataExchange dx(*this, read ? DataExchange::kRead : DataExchange::kWrite);
  const bool wasWriting = writing_;
  writing_ = !read;
  DoDataExchange(dx);
  writing_ = wasWriting;
  return !dx.Failed();
}

std::string CDialog::GetItemText(int id) const {
  return CWindow(GetItem(id)).GetText();
}

void CDialog::SetItemText(int id, const std::string& text) {
  ::SetDlgItemTextA(GetHandle(), id, text.c_str());
}

int CDialog::ShowMessage(const std::string& text, const std::string& caption, UINT flags) const {
  return ::MessageBoxA(GetHandle(), text.c_str(), caption.c_str(), flags);
}

std::string CDialog::ReadText(int controlId) const {
  return GetItemText(controlId);
}

void CDialog::WriteText(int controlId, const std::string& text) {
  SetItemText(controlId, text);
}

int CDialog::ReadCheck(int controlId) const {
  return static_cast<int>(::IsDlgButtonChecked(GetHandle(), controlId));
}

void CDialog::WriteCheck(int controlId, int state) {
  ::CheckDlgButton(GetHandle(), controlId, static_cast<UINT>(state));
}

int CDialog::ReadListIndex(int controlId) const {
  return static_cast<int>(::SendDlgItemMessageA(GetHandle(), controlId, CB_GETCURSEL, 0, 0));
}

void CDialog::WriteListIndex(int controlId, int index) {
  ::SendDlgItemMessageA(GetHandle(), controlId, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void CDialog::LimitText(int controlId, std::size_t maxChars) {
  ::SendDlgItemMessageA(GetHandle(), controlId, EM_LIMITTEXT, maxChars, 0);
}

void CDialog::ReportBadEntry(int controlId, const std::string& message) {
  ::MessageBoxA(GetHandle(), message.c_str(), nullptr, MB_OK | MB_ICONEXCLAMATION);
  HWND control = GetItem(controlId);
  if (control != nullptr) {
    ::SetFocus(control);
    ::SendMessageA(control, EM_SETSEL, 0, -1);
  }
}

bool CDialog::OnInitDialog() {
  UpdateData(false);
  return true;
}

bool CDialog::OnCommand(WORD, WORD, HWND) {
  return false;
}

void CDialog::OnOK() {
  if (!UpdateData(true)) return;
  EndDialog(IDOK);
}

void CDialog::OnCancel() {
  EndDialog(IDCANCEL);
}

bool CDialog::OnMessage(UINT, WPARAM, LPARAM, LRESULT&) {
  return false;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  CDialog* self = nullptr;
  if (message == WM_INITDIALOG) {
    self = reinterpret_cast<CDialog*>(lParam);
    ::SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
    self->Attach(hwnd);
  } else {
    self = reinterpret_cast<CDialog*>(::GetWindowLongPtrA(hwnd, DWLP_USER));
  }
  if (self == nullptr) return FALSE;
  const INT_PTR result = self->HandleMessage(message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrA(hwnd, DWLP_USER, 0);
    self->Attach(nullptr);
  }
  return result;
}

INT_PTR CDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog() ? TRUE : FALSE;
    case WM_COMMAND: {
      const WORD code = HIWORD(wParam);
      const WORD id = LOWORD(wParam);
      HWND control = reinterpret_cast<HWND>(lParam);
      if (control != nullptr) {
        if (writing_) return TRUE;
        if (::SendMessageA(control, kReflectBase + WM_COMMAND, wParam, lParam) != 0) return TRUE;
      }
      if (OnCommand(code, id, control)) return TRUE;
      if (id == IDOK && (code == BN_CLICKED || control == nullptr)) {
        OnOK();
        return TRUE;
      }
      if (id == IDCANCEL && (code == BN_CLICKED || control == nullptr)) {
        OnCancel();
        return TRUE;
      }
      return FALSE;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT: {
      LRESULT reflected = ::SendMessageA(reinterpret_cast<HWND>(lParam), kReflectBase + message, wParam, lParam);
      if (reflected != 0) return static_cast<INT_PTR>(reflected);
      LRESULT result = 0;
      if (OnMessage(message, wParam, lParam, result)) return static_cast<INT_PTR>(result);
      return FALSE;
    }
    case WM_CLOSE:
      OnClose();
      return TRUE;
    case WM_TIMER:
      OnTimer(static_cast<UINT_PTR>(wParam));
      return TRUE;
    case WM_DESTROY:
      OnDestroy();
      return FALSE;
    default: {
      LRESULT result = 0;
      if (!OnMessage(message, wParam, lParam, result)) return FALSE;
      // These few return their answer directly instead of through DWLP_MSGRESULT.
      if (message == WM_QUERYDRAGICON || message == WM_CHARTOITEM || message == WM_COMPAREITEM ||
          message == WM_VKEYTOITEM)
        return static_cast<INT_PTR>(result);
      ::SetWindowLongPtrA(GetHandle(), DWLP_MSGRESULT, result);
      return TRUE;
    }
  }
}

}  // namespace ui
