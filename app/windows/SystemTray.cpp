#include "app/windows/SystemTray.h"

#include <cstring>

// The first version of the record: a 64-byte tooltip and nothing after it.
// Every shell accepts it; its size depends on the word size (88 bytes on
// 32-bit Windows).
static_assert(sizeof(void*) != 4 || NOTIFYICONDATAA_V1_SIZE == 88, "version-1 tray record is 88 bytes on Win32");

CSystemTray::CSystemTray() {
  std::memset(&data_, 0, sizeof data_);
}

CSystemTray::~CSystemTray() {
  RemoveIcon();
  DestroyWindow();
}

bool CSystemTray::Create(HWND parent, UINT callbackMessage, const std::string& tip, HICON icon, UINT id, HWND target) {
  target_ = target;
  const DWORD version = ::GetVersion();
  if (LOBYTE(LOWORD(version)) < 4) {
    present_ = false;
    return false;
  }
  if (!ui::CCustomWindow::Create("KelvaneTrayWindow", WS_POPUP, 0, 0, 0, 10, 10, nullptr)) return false;

  std::memset(&data_, 0, sizeof data_);
  data_.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data_.hWnd = parent != nullptr ? parent : GetHandle();
  data_.uID = id;
  data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data_.uCallbackMessage = callbackMessage;
  data_.hIcon = icon;
  // The record holds 63 characters and the zero.
  const std::size_t length = tip.size() < 63 ? tip.size() : 63;
  std::memcpy(data_.szTip, tip.data(), length);
  data_.szTip[length] = '\0';
  present_ = ::Shell_NotifyIconA(NIM_ADD, &data_) != FALSE;

  if (menuResource_.Load(static_cast<int>(id))) menu_ = menuResource_.GetSubMenu(0);
  return present_;
}

bool CSystemTray::SetIcon(HICON icon) {
  if (!present_) return false;
  data_.uFlags = NIF_ICON;
  data_.hIcon = icon;
  return ::Shell_NotifyIconA(NIM_MODIFY, &data_) != FALSE;
}

void CSystemTray::RemoveIcon() {
  if (!present_) return;
  data_.uFlags = 0;
  ::Shell_NotifyIconA(NIM_DELETE, &data_);
  present_ = false;
}

LRESULT CSystemTray::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == data_.uCallbackMessage && data_.uCallbackMessage != 0) return OnTrayNotification(wParam, lParam);
  return ui::CCustomWindow::WindowProc(message, wParam, lParam);
}

LRESULT CSystemTray::OnTrayNotification(WPARAM wParam, LPARAM lParam) {
  if (wParam != data_.uID) return 0;
  HWND target = target_;
  if (target == nullptr || !menu_.IsValid()) return 1;
  switch (LOWORD(lParam)) {
    case WM_RBUTTONUP: {
      POINT pos{};
      ::GetCursorPos(&pos);
      ::SetForegroundWindow(target);
      menu_.Track(TPM_LEFTBUTTON, pos.x, pos.y, target);
      // Without this the menu does not close when the user clicks elsewhere.
      ::PostMessageA(target, WM_NULL, 0, 0);
      break;
    }
    case WM_LBUTTONDBLCLK: {
      ::SetForegroundWindow(target);
      const UINT command = menu_.GetDefaultCommand();
      if (command != static_cast<UINT>(-1)) ::SendMessageA(target, WM_COMMAND, command, 0);
      break;
    }
    default:
      break;
  }
  return 1;
}
