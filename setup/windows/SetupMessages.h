// Where setup's messages go: message boxes on the screen or, in a silent
// run, lines of the log file "setup.log".
#pragma once

#include <windows.h>

#include <string>

class SetupMessages {
public:
  // From now on messages are written to the log beside programPath, or in
  // the temporary folder when that folder cannot be written to.
  void BeSilent(const std::string& programPath);
  bool IsSilent() const { return silent_; }

  // A message box, or in a silent run a log line; the answer is then the
  // one that goes on (Yes, or OK).
  int Show(HWND owner, const std::string& text, const char* caption, UINT style);
  // A line of the log, with the time in front; nothing outside a silent run.
  void Log(const std::string& line);

private:
  bool silent_ = false;
  std::string logPath_;
};

// The one outlet of the setup process.
SetupMessages& Messages();
