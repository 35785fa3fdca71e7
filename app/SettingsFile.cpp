#include "app/SettingsFile.h"

#include <cstdio>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

bool ReplaceWith(const std::string& from, const char* to) {
#ifdef _WIN32
  return ::MoveFileExA(from.c_str(), to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
#else
  return std::rename(from.c_str(), to) == 0;
#endif
}

}  // namespace

bool SaveSettingsReplacing(const Settings& settings, const char* path) {
  const std::string temporary = std::string(path) + ".tmp";
  if (SaveSettings(settings, temporary.c_str()) || !ReplaceWith(temporary, path)) {
    std::remove(temporary.c_str());
    return true;
  }
  return false;
}
