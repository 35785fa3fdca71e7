// The automation's window handles are the system's HWNDs, carried as a
// portable integer type.
#pragma once

#include <windows.h>

#include "automation/WindowHandle.h"

inline HWND ToHwnd(WindowHandle window) {
  return reinterpret_cast<HWND>(window);
}
inline WindowHandle FromHwnd(HWND window) {
  return reinterpret_cast<WindowHandle>(window);
}
