#include "setup/windows/SetupMessages.h"

#include <cstdio>

#include "setup/common/PathText.h"
#include "setup/SetupTexts.h"

namespace {

bool CanAppendTo(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "ab");
  if (!file) return false;
  std::fclose(file);
  return true;
}

}  // namespace

SetupMessages& Messages() {
  static SetupMessages messages;
  return messages;
}

void SetupMessages::BeSilent(const std::string& programPath) {
  silent_ = true;
  std::string path;
  if (JoinPath(path, ParentPath(programPath), SetupMessage::kLogFileName) && CanAppendTo(path)) {
    logPath_ = path;
    return;
  }
  char temp[MAX_PATH + 1] = {};
  DWORD length = GetTempPathA(MAX_PATH, temp);
  if (length > 0 && length < MAX_PATH && JoinPath(path, temp, SetupMessage::kLogFileName)) logPath_ = path;
}

int SetupMessages::Show(HWND owner, const std::string& text, const char* caption, UINT style) {
  if (!silent_) return MessageBoxA(owner, text.c_str(), caption, style);
  bool question = (style & MB_TYPEMASK) == MB_YESNO;
  std::string line = FormatLogLine(caption, text);
  if (question) line += std::string(" ") + SetupMessage::kLogYes;
  Log(line);
  return question ? IDYES : IDOK;
}

void SetupMessages::Log(const std::string& line) {
  if (!silent_ || logPath_.empty()) return;
  std::FILE* file = std::fopen(logPath_.c_str(), "ab");
  if (!file) return;
  SYSTEMTIME now;
  GetLocalTime(&now);
  std::fprintf(file, "%04u-%02u-%02u %02u:%02u:%02u %s\r\n", now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute,
               now.wSecond, line.c_str());
  std::fclose(file);
}
