// Time, message boxes and translatable texts: what the automation needs of the
// program around it besides windows, clipboard and documents.
#pragma once

#include <cstdint>
#include <string>

class Clock {
public:
  virtual ~Clock() = default;
  // Blocks the calling thread; callers pass values already clamped to >= 0.
  virtual void Sleep(std::uint32_t milliseconds) = 0;
  // timeGetTime: wraps around after 49.7 days.
  virtual std::uint32_t Milliseconds() = 0;
};

class MessageBoxes {
public:
  virtual ~MessageBoxes() = default;
  // A system-modal warning box with no owner (MB_SYSTEMMODAL | MB_ICONWARNING);
  // returns when the user has closed it.  It runs a modal loop, so timer ticks
  // can arrive while it is up.
  virtual void ShowWarning(const std::string& caption, const std::string& text) = 0;
};

// Translatable texts by key, as the language file holds them.
class TextLookup {
public:
  virtual ~TextLookup() = default;
  // The multi-line text of a key, or nullptr when the key is absent.
  virtual const char* GetText(const char* key) = 0;
};

// What the main window does for the watch.
class WatcherHost {
public:
  virtual ~WatcherHost() = default;
  // Reads the option controls back into Settings before a tick works.
  virtual void ValidateWrapColumn() = 0;
  // Ends the program (Outlook Express has gone and the program depends on it).
  virtual void Terminate() = 0;
};
