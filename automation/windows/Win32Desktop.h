// The real desktop: window lookup, titles, focus and keybd_event.
#pragma once

#include "automation/DesktopApi.h"

class Win32WindowSystem : public WindowSystem {
public:
  WindowHandle FindTopLevel(const char* className) override;
  WindowHandle FindChild(WindowHandle parent, WindowHandle after, const char* className) override;
  std::string GetTitle(WindowHandle window) override;
  bool Exists(WindowHandle window) override;
};

class Win32Input : public InputApi {
public:
  void SetFocus(WindowHandle window) override;
  void SetActiveWindow(WindowHandle window) override;
  void SetForegroundWindow(WindowHandle window) override;
  WindowHandle GetForegroundWindow() override;
  void KeyEvent(unsigned char virtualKey, unsigned char scanCode, bool up) override;
};
