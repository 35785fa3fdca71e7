// Decorators that print every call the watch makes to the desktop and the
// clipboard, for following a transfer from the outside (--trace).
#pragma once

#include <functional>
#include <string>

#include "automation/ClipboardApi.h"
#include "automation/DesktopApi.h"

using TraceSink = std::function<void(const std::string&)>;

class TracingInput : public InputApi {
public:
  TracingInput(InputApi& inner, TraceSink sink) : inner_(inner), sink_(std::move(sink)) {}
  void SetFocus(WindowHandle window) override;
  void SetActiveWindow(WindowHandle window) override;
  void SetForegroundWindow(WindowHandle window) override;
  WindowHandle GetForegroundWindow() override;
  void KeyEvent(unsigned char virtualKey, unsigned char scanCode, bool up) override;

private:
  InputApi& inner_;
  TraceSink sink_;
};

class TracingClipboard : public ClipboardApi {
public:
  TracingClipboard(ClipboardApi& inner, TraceSink sink) : inner_(inner), sink_(std::move(sink)) {}
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

private:
  ClipboardApi& inner_;
  TraceSink sink_;
  int failedOpens_ = 0;
};
