#include "automation/ClipboardAccess.h"

#include <cstring>

namespace {

// A global memory block until the clipboard takes it over.
class PendingBlock {
public:
  explicit PendingBlock(ClipboardApi& api) : api_(api) {}
  ~PendingBlock() {
    if (block_ != 0) api_.Free(block_);
  }
  PendingBlock(const PendingBlock&) = delete;
  PendingBlock& operator=(const PendingBlock&) = delete;

  bool Allocate(std::size_t size) { return (block_ = api_.Alloc(size)) != 0; }
  MemoryHandle Get() const { return block_; }
  void HandOver() { block_ = 0; }

private:
  ClipboardApi& api_;
  MemoryHandle block_ = 0;
};

const char kHtmlFormatName[] = "HTML Format";

}  // namespace

bool IsGlobalMemoryFormat(unsigned format) {
  switch (format) {
    case 0:
    case 2:     // CF_BITMAP
    case 3:     // CF_METAFILEPICT (holds a metafile handle)
    case 9:     // CF_PALETTE
    case 14:    // CF_ENHMETAFILE
    case 0x80:  // CF_OWNERDISPLAY
    case 0x82:  // CF_DSPBITMAP
    case 0x83:  // CF_DSPMETAFILEPICT
    case 0x8E:  // CF_DSPENHMETAFILE
      return false;
    default:
      // CF_PRIVATEFIRST..CF_GDIOBJLAST: handles private to their owner.
      return format < 0x200 || format > 0x3FF;
  }
}

ClipboardAccess::ClipboardAccess(ClipboardApi& api, Clock& clock) : api_(api), clock_(clock) {}

ClipboardAccess::~ClipboardAccess() {
  Close();
}

void ClipboardAccess::Close() {
  if (open_) {
    api_.Close();
    open_ = false;
  }
}

bool ClipboardAccess::Read(unsigned format) {
  if (!open_) {
    if (!api_.Open()) return false;
    open_ = true;
  }
  std::string bytes;
  if (!api_.GetData(format, bytes)) {
    Close();
    return false;
  }
  // The block holds a zero-terminated text; a block without its zero ends at
  // its size, never beyond.
  data_.assign(bytes.c_str(), ::strnlen(bytes.data(), bytes.size()));
  Close();
  return true;
}

bool ClipboardAccess::ReadText(std::string& text) {
  if (!Read(kClipboardText)) return false;
  text = data_;
  return true;
}

bool ClipboardAccess::PutBytes(unsigned format, const char* bytes, std::size_t size, int& failure) {
  PendingBlock block(api_);
  if (!block.Allocate(size)) {
    failure = kClipboardNoMemory;
    return false;
  }
  if (!api_.Fill(block.Get(), bytes, size)) {
    failure = kClipboardLockFailed;
    return false;
  }
  if (!api_.SetData(format, block.Get())) {
    failure = kClipboardSetFailed;
    return false;
  }
  block.HandOver();
  return true;
}

int ClipboardAccess::Write(const std::string& text) {
  // The block is made before the clipboard is opened, so that the clipboard
  // is held for as short a time as possible.
  PendingBlock block(api_);
  if (!block.Allocate(text.size() + 1)) return kClipboardNoMemory;
  if (!api_.Fill(block.Get(), text.c_str(), text.size() + 1)) return kClipboardLockFailed;
  if (!open_) {
    if (!api_.Open()) return kClipboardNotOpened;
    open_ = true;
  }
  api_.Empty();
  const bool set = api_.SetData(kClipboardText, block.Get());
  if (set) block.HandOver();
  Close();
  return set ? kClipboardWritten : kClipboardSetFailed;
}

bool ClipboardAccess::WaitOpen(int timeoutMs) {
  if (open_) return true;
  const std::uint32_t timeout = timeoutMs > 0 ? static_cast<std::uint32_t>(timeoutMs) : 0u;
  const std::uint32_t start = clock_.Milliseconds();
  for (;;) {
    if (api_.Open()) {
      open_ = true;
      return true;
    }
    // Unsigned difference: correct across the wrap of the millisecond clock.
    if (clock_.Milliseconds() - start > timeout) return false;
  }
}

int ClipboardAccess::FindHtmlFormat() {
  for (unsigned format = api_.EnumFormats(0); format != 0; format = api_.EnumFormats(format)) {
    std::string name;
    if (api_.GetFormatName(format, name) && name == kHtmlFormatName) return Read(format) ? 0 : 1;
  }
  return -1;
}

bool ClipboardAccess::SaveAndEmpty(ClipboardContents& saved) {
  saved.clear();
  if (!open_) return false;
  for (unsigned format = api_.EnumFormats(0); format != 0; format = api_.EnumFormats(format)) {
    if (!IsGlobalMemoryFormat(format)) continue;
    ClipboardFormatData item{format, {}};
    if (api_.GetData(format, item.bytes)) saved.push_back(std::move(item));
  }
  const bool emptied = api_.Empty();
  Close();
  return emptied;
}

bool ClipboardAccess::Restore(const ClipboardContents& saved) {
  if (!open_) return false;
  bool complete = api_.Empty();
  for (const ClipboardFormatData& item : saved) {
    int failure = 0;
    if (!PutBytes(item.format, item.bytes.data(), item.bytes.size(), failure)) complete = false;
  }
  Close();
  return complete;
}
