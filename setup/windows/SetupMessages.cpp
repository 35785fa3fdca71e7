#include "setup/windows/SetupMessages.h"

#include <cstdio>

#include "setup/common/PathText.h"
#include "setup/SetupTexts.h"

namespace {

// Two or more digits, without the printf family, which would add its own
// formatting code to the program.
std::string Digits(unsigned value, std::size_t width) {
  std::string text = std::to_string(value);
  return std::string(text.size() < width ? width - text.size() : 0, '0') + text;
}

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
  std::string text = Digits(now.wYear, 4) + "-" + Digits(now.wMonth, 2) + "-" + Digits(now.wDay, 2) + " " +
                     Digits(now.wHour, 2) + ":" + Digits(now.wMinute, 2) + ":" + Digits(now.wSecond, 2) + " " + line +
                     "\r\n";
  std::fwrite(text.data(), 1, text.size(), file);
  std::fclose(file);
}
