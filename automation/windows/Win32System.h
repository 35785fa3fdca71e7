// Sleeping, the millisecond clock and message boxes of the real system.
#pragma once

#include <string>

#include "automation/SystemApi.h"

class Win32Clock : public Clock {
public:
  void Sleep(std::uint32_t milliseconds) override;
  std::uint32_t Milliseconds() override;
};

class Win32MessageBoxes : public MessageBoxes {
public:
  void ShowWarning(const std::string& caption, const std::string& text) override;
};

// The process's current directory (at most 260 characters).
std::wstring CurrentDirectoryW();
