#include "../InPlaceFile.h"

#include <windows.h>

#include <cstdio>

namespace {

bool Fail(const std::string& what, std::string& error) {
  char text[256] = "";
  const DWORD code = GetLastError();
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text, sizeof text,
                 nullptr);
  std::string reason = text;
  while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == '.')) reason.pop_back();
  error = what + ": " + (reason.empty() ? "error " + std::to_string(code) : reason);
  return false;
}

}  // namespace

// ReplaceFileA keeps the original's attributes, security descriptor and
// creation time, which is what "permissions and owner" mean here.
bool ReplaceFileContents(const std::string& path, const std::string& data, std::string& error) {
  if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return Fail(path, error);
  // The temporary file goes beside the original, named from its full path.
  char full[MAX_PATH];
  char* name = nullptr;
  const DWORD n = GetFullPathNameA(path.c_str(), MAX_PATH, full, &name);
  if (n == 0 || n >= MAX_PATH || name == nullptr) return Fail(path, error);
  const std::string folder(full, static_cast<std::size_t>(name - full));
  char temp[MAX_PATH];
  if (GetTempFileNameA(folder.c_str(), "kvr", 0, temp) == 0) return Fail(folder + ": temporary file", error);

  HANDLE file = CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    Fail(temp, error);
    DeleteFileA(temp);
    return false;
  }
  bool ok = true;
  std::size_t done = 0;
  while (ok && done < data.size()) {
    const DWORD chunk = data.size() - done > 0x40000000 ? 0x40000000 : static_cast<DWORD>(data.size() - done);
    DWORD written = 0;
    ok = WriteFile(file, data.data() + done, chunk, &written, nullptr) != 0 && written > 0;
    done += written;
  }
  if (ok) ok = FlushFileBuffers(file) != 0;
  const DWORD writeError = GetLastError();
  CloseHandle(file);
  if (ok && ReplaceFileA(full, temp, nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) != 0) return true;
  if (!ok) SetLastError(writeError);
  Fail(path, error);
  DeleteFileA(temp);
  return false;
}
