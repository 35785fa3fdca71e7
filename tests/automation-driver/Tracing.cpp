#include "Tracing.h"

#include <cstdio>

namespace {

std::string Hex(WindowHandle window) {
  char text[32];
  std::snprintf(text, sizeof text, "%llx", static_cast<unsigned long long>(window));
  return text;
}

}  // namespace

void TracingInput::SetFocus(WindowHandle window) {
  sink_("SetFocus " + Hex(window));
  inner_.SetFocus(window);
}
void TracingInput::SetActiveWindow(WindowHandle window) {
  sink_("SetActiveWindow " + Hex(window));
  inner_.SetActiveWindow(window);
}
void TracingInput::SetForegroundWindow(WindowHandle window) {
  sink_("SetForegroundWindow " + Hex(window));
  inner_.SetForegroundWindow(window);
}
WindowHandle TracingInput::GetForegroundWindow() {
  const WindowHandle window = inner_.GetForegroundWindow();
  sink_("GetForegroundWindow -> " + Hex(window));
  return window;
}
void TracingInput::KeyEvent(unsigned char virtualKey, unsigned char scanCode, bool up) {
  char text[48];
  std::snprintf(text, sizeof text, "key %02X %02X %s", virtualKey, scanCode, up ? "up" : "down");
  sink_(text);
  inner_.KeyEvent(virtualKey, scanCode, up);
}

bool TracingClipboard::Open() {
  // The wait for the clipboard retries without pause: trace the first
  // failure and the outcome, not every attempt.
  const bool opened = inner_.Open();
  if (opened) {
    sink_("OpenClipboard ok after " + std::to_string(failedOpens_) + " failures");
    failedOpens_ = 0;
  } else if (failedOpens_++ == 0) {
    sink_("OpenClipboard failed");
  }
  return opened;
}
void TracingClipboard::Close() {
  sink_("CloseClipboard");
  inner_.Close();
}
bool TracingClipboard::Empty() {
  const bool ok = inner_.Empty();
  sink_(std::string("EmptyClipboard ") + (ok ? "ok" : "failed"));
  return ok;
}
unsigned TracingClipboard::EnumFormats(unsigned previous) {
  return inner_.EnumFormats(previous);
}
bool TracingClipboard::GetFormatName(unsigned format, std::string& name) {
  return inner_.GetFormatName(format, name);
}
bool TracingClipboard::GetData(unsigned format, std::string& bytes) {
  const bool ok = inner_.GetData(format, bytes);
  sink_("GetClipboardData " + std::to_string(format) +
        (ok ? " " + std::to_string(bytes.size()) + " bytes" : " failed"));
  return ok;
}
MemoryHandle TracingClipboard::Alloc(std::size_t size) {
  return inner_.Alloc(size);
}
bool TracingClipboard::Fill(MemoryHandle block, const char* data, std::size_t size) {
  return inner_.Fill(block, data, size);
}
void TracingClipboard::Free(MemoryHandle block) {
  inner_.Free(block);
}
bool TracingClipboard::SetData(unsigned format, MemoryHandle block) {
  const bool ok = inner_.SetData(format, block);
  sink_("SetClipboardData " + std::to_string(format) + (ok ? " ok" : " failed"));
  return ok;
}
