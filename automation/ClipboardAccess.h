// One holder of the system clipboard for the span of one window's transfer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "automation/ClipboardApi.h"
#include "automation/SystemApi.h"

// Everything of the user's clipboard that can be carried as bytes, in the
// order the clipboard listed it.
struct ClipboardFormatData {
  unsigned format;
  std::string bytes;
};
using ClipboardContents = std::vector<ClipboardFormatData>;

// Formats whose data is a global memory block that can be copied byte for
// byte.  GDI handles (bitmaps, metafiles, palettes), owner-display formats and
// the private and GDI-object ranges are not: their handles mean nothing once
// copied.
bool IsGlobalMemoryFormat(unsigned format);

// Result codes of ClipboardAccess::Write.
enum ClipboardWriteResult : int {
  kClipboardWritten = 0,
  kClipboardNoMemory = 1,
  kClipboardLockFailed = 2,
  kClipboardNotOpened = 3,
  kClipboardSetFailed = 4
};

class ClipboardAccess {
public:
  ClipboardAccess(ClipboardApi& api, Clock& clock);
  // Closes the clipboard if this object still holds it open.
  ~ClipboardAccess();
  ClipboardAccess(const ClipboardAccess&) = delete;
  ClipboardAccess& operator=(const ClipboardAccess&) = delete;

  // Opens the clipboard once unless held; reads the zero-terminated text of a
  // format into Data(); always leaves the clipboard closed.
  bool Read(unsigned format);
  bool ReadText(std::string& text);
  // Puts text on the clipboard as CF_TEXT (with its terminating zero).
  int Write(const std::string& text);
  // Tries to open the clipboard until it is held or more than timeoutMs have
  // passed; at least one attempt.  Negative timeouts count as 0.
  bool WaitOpen(int timeoutMs);
  // -1: no "HTML Format" on the clipboard (it stays open); otherwise the
  // outcome of Read of that format, 0 success, 1 failure.
  int FindHtmlFormat();

  // Copies every global-memory format off the open clipboard into `saved`,
  // then empties it in the same opening and closes it.  False (clipboard
  // closed, nothing emptied) when it is not open or cannot be emptied.
  bool SaveAndEmpty(ClipboardContents& saved);
  // Puts saved contents back exactly (an empty save leaves the clipboard
  // empty) and closes it.  The clipboard must be held open.  False when any
  // format could not be put back.
  bool Restore(const ClipboardContents& saved);

  void Close();
  bool IsOpen() const { return open_; }
  const std::string& Data() const { return data_; }

private:
  bool PutBytes(unsigned format, const char* bytes, std::size_t size, int& failure);

  ClipboardApi& api_;
  Clock& clock_;
  bool open_ = false;
  std::string data_;
};
