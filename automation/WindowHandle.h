// Window and memory handles as the portable code sees them: opaque numbers,
// 0 meaning none.  The Win32 half converts them to HWND and HGLOBAL.
#pragma once

#include <cstdint>

using WindowHandle = std::uintptr_t;
constexpr WindowHandle kNoWindow = 0;
