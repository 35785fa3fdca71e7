#include "automation/windows/Win32System.h"

#include <windows.h>
#include <mmsystem.h>

void Win32Clock::Sleep(std::uint32_t milliseconds) {
  ::Sleep(milliseconds);
}

std::uint32_t Win32Clock::Milliseconds() {
  return ::timeGetTime();
}

void Win32MessageBoxes::ShowWarning(const std::string& caption, const std::string& text) {
  ::MessageBoxA(nullptr, text.c_str(), caption.c_str(), MB_SYSTEMMODAL | MB_ICONWARNING);
}

std::wstring CurrentDirectoryW() {
  wchar_t directory[MAX_PATH];
  const DWORD length = ::GetCurrentDirectoryW(MAX_PATH, directory);
  if (length == 0 || length >= MAX_PATH) return std::wstring();
  return std::wstring(directory, length);
}
