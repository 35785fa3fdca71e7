// The system clipboard with global memory blocks.
#pragma once

#include "automation/ClipboardApi.h"

class Win32Clipboard : public ClipboardApi {
public:
  bool Open() override;
  void Close() override;
  bool Empty() override;
  unsigned EnumFormats(unsigned previous) override;
  bool GetFormatName(unsigned format, std::string& name) override;
  bool GetData(unsigned format, std::string& bytes) override;
  MemoryHandle Alloc(std::size_t size) override;
  bool Fill(MemoryHandle block, const char* data, std::size_t size) override;
  void Free(MemoryHandle block) override;
  bool SetData(unsigned format, MemoryHandle block) override;
};
