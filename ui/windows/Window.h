// A window handle and the few operations the programs use on it.
//
// CWindow does not own its handle: copying it copies the handle, destroying
// it leaves the window alone.  Whoever creates a window destroys it (dialogs
// destroy their own window, UniqueWindow owns a plain one).
#pragma once

#include <windows.h>

#include <string>

namespace ui {

class CWindow {
public:
  CWindow() = default;
  CWindow(HWND hwnd) : hwnd_(hwnd) {}  // NOLINT: converts like the handle it wraps

  HWND GetHandle() const { return hwnd_; }
  operator HWND() const { return hwnd_; }
  void Attach(HWND hwnd) { hwnd_ = hwnd; }
  HWND Detach() {
    HWND h = hwnd_;
    hwnd_ = nullptr;
    return h;
  }
  bool IsWindow() const { return hwnd_ != nullptr && ::IsWindow(hwnd_) != FALSE; }

  std::string GetText() const;
  bool SetText(const std::string& text) { return ::SetWindowTextA(hwnd_, text.c_str()) != FALSE; }
  bool Show(int command) { return ::ShowWindow(hwnd_, command) != FALSE; }
  bool IsVisible() const { return ::IsWindowVisible(hwnd_) != FALSE; }
  bool Enable(bool enable) { return ::EnableWindow(hwnd_, enable ? TRUE : FALSE) != FALSE; }
  bool IsEnabled() const { return ::IsWindowEnabled(hwnd_) != FALSE; }
  HWND GetItem(int id) const { return ::GetDlgItem(hwnd_, id); }
  int GetId() const { return ::GetDlgCtrlID(hwnd_); }
  HWND GetParent() const { return ::GetParent(hwnd_); }
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::SendMessageA(hwnd_, message, wParam, lParam);
  }
  bool Post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::PostMessageA(hwnd_, message, wParam, lParam) != FALSE;
  }
  LONG_PTR GetStyle() const { return ::GetWindowLongPtrA(hwnd_, GWL_STYLE); }
  void SetStyle(LONG_PTR style) { ::SetWindowLongPtrA(hwnd_, GWL_STYLE, style); }
  HFONT GetFont() const { return reinterpret_cast<HFONT>(Send(WM_GETFONT)); }
  void SetFont(HFONT font, bool redraw = true) {
    Send(WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw ? TRUE : FALSE);
  }
  void SetIcon(HICON icon, bool big) { Send(WM_SETICON, big ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon)); }
  RECT GetClientRect() const {
    RECT r{};
    ::GetClientRect(hwnd_, &r);
    return r;
  }
  // The window's rectangle in its parent's client coordinates.
  RECT GetRectInParent() const;
  bool Invalidate(bool erase = true) { return ::InvalidateRect(hwnd_, nullptr, erase ? TRUE : FALSE) != FALSE; }
  bool Update() { return ::UpdateWindow(hwnd_) != FALSE; }
  bool SetForeground() { return ::SetForegroundWindow(hwnd_) != FALSE; }
  HWND SetFocus() { return ::SetFocus(hwnd_); }

private:
  HWND hwnd_ = nullptr;
};

}  // namespace ui
