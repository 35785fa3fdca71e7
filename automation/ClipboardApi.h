// The system clipboard and the global memory blocks it holds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

using MemoryHandle = std::uintptr_t;

constexpr unsigned kClipboardText = 1;  // CF_TEXT

class ClipboardApi {
public:
  virtual ~ClipboardApi() = default;
  // OpenClipboard with no owner window; one attempt.
  virtual bool Open() = 0;
  virtual void Close() = 0;
  virtual bool Empty() = 0;
  // EnumClipboardFormats: 0 starts the walk, 0 ends it.
  virtual unsigned EnumFormats(unsigned previous) = 0;
  // GetClipboardFormatNameA into a 256-byte buffer; false for unnamed formats.
  virtual bool GetFormatName(unsigned format, std::string& name) = 0;
  // GetClipboardData, GlobalLock, a copy of the whole block (GlobalSize bytes,
  // never more), GlobalUnlock.  False when there is no data or the handle
  // cannot be locked as global memory.
  virtual bool GetData(unsigned format, std::string& bytes) = 0;
  // GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE); 0 when out of memory.
  virtual MemoryHandle Alloc(std::size_t size) = 0;
  // GlobalLock, copy, GlobalUnlock; false when the block cannot be locked.
  virtual bool Fill(MemoryHandle block, const char* data, std::size_t size) = 0;
  virtual void Free(MemoryHandle block) = 0;
  // SetClipboardData; on success the clipboard owns the block.
  virtual bool SetData(unsigned format, MemoryHandle block) = 0;
};
