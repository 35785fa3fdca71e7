#include "ui/windows/Window.h"

namespace ui {

std::string CWindow::GetText() const {
  const int length = ::GetWindowTextLengthA(hwnd_);
  if (length <= 0) return std::string();
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const int got = ::GetWindowTextA(hwnd_, &text[0], length + 1);
  text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
  return text;
}

RECT CWindow::GetRectInParent() const {
  RECT r{};
  ::GetWindowRect(hwnd_, &r);
  HWND parent = ::GetParent(hwnd_);
  if (parent != nullptr) ::MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

}  // namespace ui
