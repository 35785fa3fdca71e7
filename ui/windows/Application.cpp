#include "ui/windows/Application.h"

#include <commctrl.h>

namespace ui {

void CApplication::RunMessageLoop() {
  MSG msg;
  while (running_) {
    const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) break;
    if (mainWindow_ == nullptr || !::IsDialogMessageA(mainWindow_, &msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
  }
}

int CApplication::ShowMessage(const std::string& text, UINT flags) const {
  HWND owner = (mainWindow_ != nullptr && ::IsWindowVisible(mainWindow_)) ? mainWindow_ : nullptr;
  return ShowMessageBox(owner, text, name_, flags);
}

int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT flags) {
  return ::MessageBoxA(owner, text.c_str(), caption.c_str(), flags);
}

void InitCommonControlsForDialogs() {
  INITCOMMONCONTROLSEX icc{};
  icc.dwSize = sizeof icc;
  icc.dwICC = ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES;
  ::InitCommonControlsEx(&icc);
}

}  // namespace ui
