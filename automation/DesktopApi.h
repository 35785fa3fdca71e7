// The desktop as the watch sees it: window lookup and titles, focus and
// keystrokes.  One implementation talks to Win32; tests simulate a desktop.
#pragma once

#include <string>

#include "automation/WindowHandle.h"

class WindowSystem {
public:
  virtual ~WindowSystem() = default;
  // FindWindowA with the class name only.
  virtual WindowHandle FindTopLevel(const char* className) = 0;
  // FindWindowExA: parent kNoWindow walks the top-level windows; `after` is the
  // window the search continues behind (kNoWindow: from the first).
  virtual WindowHandle FindChild(WindowHandle parent, WindowHandle after, const char* className) = 0;
  // GetWindowTextA into a 128-byte buffer: at most 127 characters.
  virtual std::string GetTitle(WindowHandle window) = 0;
  // IsWindow.
  virtual bool Exists(WindowHandle window) = 0;
};

// Focus and the system's input stream.
class InputApi {
public:
  virtual ~InputApi() = default;
  virtual void SetFocus(WindowHandle window) = 0;
  virtual void SetActiveWindow(WindowHandle window) = 0;
  virtual void SetForegroundWindow(WindowHandle window) = 0;
  virtual WindowHandle GetForegroundWindow() = 0;
  // keybd_event(virtualKey, scanCode, up ? KEYEVENTF_KEYUP : 0, 0).
  virtual void KeyEvent(unsigned char virtualKey, unsigned char scanCode, bool up) = 0;
};
