#include "automation/Keystrokes.h"

void FocusWindow(InputApi& input, WindowHandle window) {
  input.SetFocus(window);
  input.SetActiveWindow(window);
  input.SetForegroundWindow(window);
}

bool FocusForKeys(WindowSystem& windows, InputApi& input, Clock& clock, WindowHandle window) {
  FocusWindow(input, window);
  for (std::uint32_t waited = 0;; waited += kForegroundPollMs) {
    if (!windows.Exists(window)) return false;
    if (input.GetForegroundWindow() == window) return true;
    if (waited >= kForegroundWaitMs) return false;
    clock.Sleep(kForegroundPollMs);
  }
}

void PressChord(InputApi& input, Key key) {
  input.KeyEvent(Keys::control.virtualKey, Keys::control.scanCode, false);
  input.KeyEvent(key.virtualKey, key.scanCode, false);
  input.KeyEvent(Keys::control.virtualKey, Keys::control.scanCode, true);
  input.KeyEvent(key.virtualKey, key.scanCode, true);
}

void PressKey(InputApi& input, Key key) {
  input.KeyEvent(key.virtualKey, key.scanCode, false);
  input.KeyEvent(key.virtualKey, key.scanCode, true);
}
