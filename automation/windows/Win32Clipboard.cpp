#include "automation/windows/Win32Clipboard.h"

#include <windows.h>

#include <cstring>

namespace {

HGLOBAL ToGlobal(MemoryHandle block) {
  return reinterpret_cast<HGLOBAL>(block);
}

}  // namespace

bool Win32Clipboard::Open() {
  if (::OpenClipboard(nullptr)) return true;
  ::GetLastError();  // fetched for the debugger's sake; the caller only needs the failure
  return false;
}

void Win32Clipboard::Close() {
  ::CloseClipboard();
}

bool Win32Clipboard::Empty() {
  return ::EmptyClipboard() != FALSE;
}

unsigned Win32Clipboard::EnumFormats(unsigned previous) {
  return ::EnumClipboardFormats(previous);
}

bool Win32Clipboard::GetFormatName(unsigned format, std::string& name) {
  char buffer[256];
  const int length = ::GetClipboardFormatNameA(format, buffer, sizeof buffer);
  if (length <= 0) return false;
  name.assign(buffer, static_cast<std::size_t>(length));
  return true;
}

bool Win32Clipboard::GetData(unsigned format, std::string& bytes) {
  const HANDLE data = ::GetClipboardData(format);
  if (data == nullptr) return false;
  const void* locked = ::GlobalLock(data);
  if (locked == nullptr) return false;
  // Never read past the block, whatever its contents claim.
  const SIZE_T size = ::GlobalSize(data);
  bytes.assign(static_cast<const char*>(locked), size);
  ::GlobalUnlock(data);
  return true;
}

MemoryHandle Win32Clipboard::Alloc(std::size_t size) {
  return reinterpret_cast<MemoryHandle>(::GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, size != 0 ? size : 1));
}

bool Win32Clipboard::Fill(MemoryHandle block, const char* data, std::size_t size) {
  void* locked = ::GlobalLock(ToGlobal(block));
  if (locked == nullptr) return false;
  if (size != 0) std::memcpy(locked, data, size);
  ::GlobalUnlock(ToGlobal(block));
  return true;
}

void Win32Clipboard::Free(MemoryHandle block) {
  ::GlobalFree(ToGlobal(block));
}

bool Win32Clipboard::SetData(unsigned format, MemoryHandle block) {
  return ::SetClipboardData(format, ToGlobal(block)) != nullptr;
}
