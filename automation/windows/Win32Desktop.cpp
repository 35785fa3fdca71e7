#include "automation/windows/Win32Desktop.h"

#include "automation/windows/Hwnd.h"

WindowHandle Win32WindowSystem::FindTopLevel(const char* className) {
  return FromHwnd(::FindWindowA(className, nullptr));
}

WindowHandle Win32WindowSystem::FindChild(WindowHandle parent, WindowHandle after, const char* className) {
  return FromHwnd(::FindWindowExA(ToHwnd(parent), ToHwnd(after), className, nullptr));
}

std::string Win32WindowSystem::GetTitle(WindowHandle window) {
  char title[128];
  const int length = ::GetWindowTextA(ToHwnd(window), title, sizeof title);
  return std::string(title, length > 0 ? static_cast<std::size_t>(length) : 0u);
}

bool Win32WindowSystem::Exists(WindowHandle window) {
  return ::IsWindow(ToHwnd(window)) != FALSE;
}

void Win32Input::SetFocus(WindowHandle window) {
  ::SetFocus(ToHwnd(window));
}

void Win32Input::SetActiveWindow(WindowHandle window) {
  ::SetActiveWindow(ToHwnd(window));
}

void Win32Input::SetForegroundWindow(WindowHandle window) {
  ::SetForegroundWindow(ToHwnd(window));
}

WindowHandle Win32Input::GetForegroundWindow() {
  return FromHwnd(::GetForegroundWindow());
}

void Win32Input::KeyEvent(unsigned char virtualKey, unsigned char scanCode, bool up) {
  ::keybd_event(virtualKey, scanCode, up ? KEYEVENTF_KEYUP : 0, 0);
}
