// File-system half of the archive reader for Windows, on the ANSI API.
#include "setup/archive/ArchivePlatform.h"

#include <windows.h>

#include <vector>

namespace {

class Win32Output : public IArchiveOutput {
public:
  explicit Win32Output(HANDLE file) : file_(file) {}
  ~Win32Output() override { Close(); }
  Win32Output(const Win32Output&) = delete;
  Win32Output& operator=(const Win32Output&) = delete;

  bool Write(const unsigned char* data, std::size_t size) override {
    while (size > 0) {
      const DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
      DWORD written = 0;
      if (!WriteFile(file_, data, chunk, &written, nullptr) || written != chunk) {
        failed_ = true;
        return false;
      }
      data += chunk;
      size -= chunk;
    }
    return true;
  }

  bool Close() override {
    if (file_ == INVALID_HANDLE_VALUE) return !failed_;
    if (!CloseHandle(file_)) failed_ = true;
    file_ = INVALID_HANDLE_VALUE;
    return !failed_;
  }

private:
  HANDLE file_;
  bool failed_ = false;
};

bool IsDirectoryPath(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

class Win32ArchivePlatform : public IArchivePlatform {
public:
  std::string ConvertName(const std::string& raw, bool utf8) const override {
    if (raw.empty()) return raw;
    const int length = static_cast<int>(raw.size());
    if (utf8) {
      const int wide = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, raw.data(), length, nullptr, 0);
      if (wide > 0) {
        std::vector<wchar_t> text(static_cast<std::size_t>(wide));
        MultiByteToWideChar(CP_UTF8, 0, raw.data(), length, text.data(), wide);
        const int bytes = WideCharToMultiByte(CP_ACP, 0, text.data(), wide, nullptr, 0, "_", nullptr);
        if (bytes > 0) {
          std::string ansi(static_cast<std::size_t>(bytes), '\0');
          WideCharToMultiByte(CP_ACP, 0, text.data(), wide, &ansi[0], bytes, "_", nullptr);
          return ansi;
        }
      }
    }
    std::string ansi(raw);
    OemToCharBuffA(raw.data(), &ansi[0], static_cast<DWORD>(raw.size()));
    return ansi;
  }

  bool CreateDirectories(const std::string& path) override {
    if (path.empty()) return true;
    // Skip a drive ("C:\") or a share ("\\server\share\") at the start.
    std::size_t start = 1;
    if (path.size() >= 2 && path[1] == ':')
      start = 3;
    else if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') {
      const std::size_t server = path.find('\\', 2);
      start = server == std::string::npos ? path.size() : path.find('\\', server + 1);
      if (start == std::string::npos) start = path.size();
    }
    for (std::size_t i = start; i <= path.size(); ++i) {
      if (i < path.size() && path[i] != '\\' && path[i] != '/') continue;
      const std::string part = path.substr(0, i);
      if (part.empty() || IsDirectoryPath(part)) continue;
      if (!CreateDirectoryA(part.c_str(), nullptr) && !IsDirectoryPath(part)) return false;
    }
    return true;
  }

  std::unique_ptr<IArchiveOutput> CreateOutputFile(const std::string& path) override {
    // An earlier installation may have left the file read-only.
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
      if (attributes & FILE_ATTRIBUTE_DIRECTORY) return nullptr;
      if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM))
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    return std::unique_ptr<IArchiveOutput>(new Win32Output(file));
  }

  void RemoveFile(const std::string& path) override { DeleteFileA(path.c_str()); }

  bool SetFileInfo(const std::string& path, bool isDirectory, std::uint16_t dosDate, std::uint16_t dosTime,
                   std::uint8_t dosAttributes) override {
    FILETIME local, utc;
    const bool validDate = (dosDate & 0x1F) != 0 && ((dosDate >> 5) & 0x0F) != 0 &&
                           DosDateTimeToFileTime(dosDate, dosTime, &local) && LocalFileTimeToFileTime(&local, &utc);
    if (validDate) {
      const HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, isDirectory ? FILE_FLAG_BACKUP_SEMANTICS : 0, nullptr);
      if (file == INVALID_HANDLE_VALUE) return false;
      const BOOL set = SetFileTime(file, nullptr, nullptr, &utc);
      CloseHandle(file);
      if (!set) return false;
    }
    // Only read-only, hidden, system and archive make sense to apply.
    DWORD attributes = dosAttributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                        FILE_ATTRIBUTE_ARCHIVE);
    if (attributes == 0) attributes = FILE_ATTRIBUTE_NORMAL;
    return SetFileAttributesA(path.c_str(), attributes) != 0;
  }
};

// Stateless and constant-initialised: a namespace-scope object needs no
// thread-safe guard, which would link the POSIX threads layer into setup.
Win32ArchivePlatform g_defaultPlatform;

}  // namespace

IArchivePlatform& DefaultArchivePlatform() {
  return g_defaultPlatform;
}
