// Focus and key strokes as the body transfer sends them.
#pragma once

#include <cstdint>

#include "automation/DesktopApi.h"
#include "automation/SystemApi.h"

struct Key {
  unsigned char virtualKey;
  unsigned char scanCode;
};

// The keys the transfer uses, with the hardware scan codes sent alongside.
namespace Keys {
constexpr Key control{0x11, 0x1D};
constexpr Key end{0x23, 0x4F};
constexpr Key home{0x24, 0x47};
constexpr Key up{0x26, 0x48};
constexpr Key space{0x20, 0x39};
constexpr Key a{0x41, 0x1E};
constexpr Key c{0x43, 0x2E};
constexpr Key v{0x56, 0x2F};
}  // namespace Keys

// SetFocus, SetActiveWindow, SetForegroundWindow; results not examined.
void FocusWindow(InputApi& input, WindowHandle window);

// FocusWindow, then tells whether key strokes would reach the window: it must
// still exist and be the foreground window.  Key strokes go into the system's
// input stream, so without this check they could land in any other program.
// The window of another thread may take its activation a little later: it is
// given up to kForegroundWaitMs.
bool FocusForKeys(WindowSystem& windows, InputApi& input, Clock& clock, WindowHandle window);

const std::uint32_t kForegroundWaitMs = 500;
const std::uint32_t kForegroundPollMs = 25;

// Ctrl down, key down, Ctrl up, key up: Ctrl is released before the key.
void PressChord(InputApi& input, Key key);
void PressKey(InputApi& input, Key key);
