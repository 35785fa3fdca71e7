// standin-ctl: tells the stand-in client what to do and reads its state back,
// and works the clipboard from a process of its own.
//
//   standin-ctl [-o FILE] COMMAND ARG...     a command for the stand-in
//       An argument "@PATH" is replaced by the file's bytes ("@@x" is "@x").
//       The answer goes to FILE (bytes as they are) or to standard output;
//       the exit code is the stand-in's status (10: stand-in not reachable).
//   standin-ctl wait-ready [SECONDS]         waits until the stand-in answers
//   standin-ctl clip-set [--text T] [--html H] [--format NAME DATA]... [--dib] [--once]
//       empties the clipboard and puts the given formats on it (CF_TEXT, the
//       "HTML Format" block around H, registered formats, a 2x2 picture);
//       --once: a single attempt to open the clipboard, no waiting
//   standin-ctl clip-get                     one line per format: name, size,
//       FNV-1a hash of the bytes; sorted, so two dumps compare with diff
//   standin-ctl clip-text                    the CF_TEXT bytes
//   standin-ctl clip-hold MS [--ready FILE] [--until FILE]  opens the clipboard
//       and keeps it MS milliseconds or until the --until file exists;
//       writes "held" to the --ready file once it has it
//   standin-ctl close-class CLASS            posts WM_CLOSE to the first
//       top-level window of CLASS (exit code 1 when there is none)
//
// Commands of the stand-in (see StandinMain.cpp): ping, quit, list,
// open compose|received [--title T] [--body B] [--html H] [--state S] [--arm-close EVENT],
// view [--body B] [--html H] [--state S] [--new], title ID T, close ID,
// arm-close ID EVENT, state ID S, doctitle ID [T], body ID, html ID,
// wintitle ID, caret ID, sheets ID, stats ID, server ID.
#include "ControlProtocol.h"
#include "StandinText.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using namespace standin;

namespace {

bool ReadFileBytes(const std::string& path, std::string& bytes) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  char buffer[65536];
  size_t n;
  bytes.clear();
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
  std::fclose(f);
  return true;
}

int Emit(const char* outPath, const std::string& bytes) {
  if (outPath) {
    FILE* f = std::fopen(outPath, "wb");
    if (!f) {
      std::fprintf(stderr, "standin-ctl: cannot write %s\n", outPath);
      return 11;
    }
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    return 0;
  }
  _setmode(_fileno(stdout), _O_BINARY);
  std::fwrite(bytes.data(), 1, bytes.size(), stdout);
  std::fflush(stdout);
  return 0;
}

bool Call(const std::vector<std::string>& args, unsigned& status, std::string& answer) {
  HANDLE pipe = INVALID_HANDLE_VALUE;
  for (int attempt = 0; attempt < 300; ++attempt) {
    pipe = CreateFileA(kPipeName, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (pipe != INVALID_HANDLE_VALUE) break;
    DWORD error = GetLastError();
    if (error == ERROR_PIPE_BUSY) {
      WaitNamedPipeA(kPipeName, 200);
    } else {
      // Between two connections the server has no instance for a moment, a
      // long one when the machine is busy.
      Sleep(20);
      if (attempt >= 150) return false;
    }
  }
  if (pipe == INVALID_HANDLE_VALUE) return false;
  bool ok = WriteAll(pipe, EncodeRequest(args)) && ReadAnswer(pipe, status, answer);
  CloseHandle(pipe);
  return ok;
}

bool OpenClipboardPatiently(int tries, HWND owner = nullptr) {
  for (int i = 0; i < tries; ++i) {
    if (OpenClipboard(owner)) return true;
    Sleep(10);
  }
  return false;
}

bool PutClipboard(UINT format, const std::string& bytes) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size() ? bytes.size() : 1);
  if (!memory) return false;
  void* target = GlobalLock(memory);
  if (!target) {
    GlobalFree(memory);
    return false;
  }
  std::memcpy(target, bytes.data(), bytes.size());
  GlobalUnlock(memory);
  if (!SetClipboardData(format, memory)) {
    GlobalFree(memory);
    return false;
  }
  return true;
}

std::string FormatName(UINT format) {
  static const struct {
    UINT id;
    const char* name;
  } known[] = {{CF_TEXT, "CF_TEXT"},
               {CF_BITMAP, "CF_BITMAP"},
               {CF_OEMTEXT, "CF_OEMTEXT"},
               {CF_DIB, "CF_DIB"},
               {CF_UNICODETEXT, "CF_UNICODETEXT"},
               {CF_HDROP, "CF_HDROP"},
               {CF_LOCALE, "CF_LOCALE"},
               {CF_DIBV5, "CF_DIBV5"},
               {CF_ENHMETAFILE, "CF_ENHMETAFILE"},
               {CF_METAFILEPICT, "CF_METAFILEPICT"},
               {CF_PALETTE, "CF_PALETTE"}};
  for (const auto& k : known)
    if (k.id == format) return k.name;
  char name[256];
  if (GetClipboardFormatNameA(format, name, sizeof name) > 0) return std::string("\"") + name + "\"";
  return "#" + std::to_string(format);
}

bool IsMemoryFormat(UINT format) {
  return format != CF_BITMAP && format != CF_ENHMETAFILE && format != CF_METAFILEPICT && format != CF_PALETTE &&
         format != CF_DSPBITMAP && format != CF_DSPENHMETAFILE && format != CF_DSPMETAFILEPICT;
}

uint32_t Fnv1a(const unsigned char* data, size_t size) {
  uint32_t hash = 2166136261u;
  for (size_t i = 0; i < size; ++i) hash = (hash ^ data[i]) * 16777619u;
  return hash;
}

int ClipSet(const std::vector<std::string>& args) {
  const bool once = std::find(args.begin(), args.end(), "--once") != args.end();
  if (!OpenClipboardPatiently(once ? 1 : 200)) {
    std::fprintf(stderr, "standin-ctl: clipboard busy\n");
    return 12;
  }
  EmptyClipboard();
  bool ok = true;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--text" && i + 1 < args.size()) {
      ok &= PutClipboard(CF_TEXT, args[++i] + '\0');
    } else if (a == "--html" && i + 1 < args.size()) {
      ok &= PutClipboard(RegisterClipboardFormatA("HTML Format"), ClipboardHtml(args[++i]) + '\0');
    } else if (a == "--format" && i + 2 < args.size()) {
      UINT format = RegisterClipboardFormatA(args[i + 1].c_str());
      ok &= PutClipboard(format, args[i + 2]);
      i += 2;
    } else if (a == "--dib") {
      // A 2x2 picture, 24 bits per pixel, rows padded to 4 bytes.
      BITMAPINFOHEADER header{};
      header.biSize = sizeof header;
      header.biWidth = 2;
      header.biHeight = 2;
      header.biPlanes = 1;
      header.biBitCount = 24;
      header.biCompression = BI_RGB;
      header.biSizeImage = 16;
      std::string bytes(reinterpret_cast<const char*>(&header), sizeof header);
      const unsigned char pixels[16] = {0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 0};
      bytes.append(reinterpret_cast<const char*>(pixels), sizeof pixels);
      ok &= PutClipboard(CF_DIB, bytes);
    } else if (a != "--empty" && a != "--once") {
      std::fprintf(stderr, "standin-ctl: clip-set: unknown argument %s\n", a.c_str());
      ok = false;
    }
  }
  CloseClipboard();
  return ok ? 0 : 13;
}

int ClipGet(const char* outPath, bool textOnly) {
  if (!OpenClipboardPatiently(200)) {
    std::fprintf(stderr, "standin-ctl: clipboard busy\n");
    return 12;
  }
  std::vector<std::string> lines;
  std::string text;
  bool hasText = false;
  for (UINT format = EnumClipboardFormats(0); format; format = EnumClipboardFormats(format)) {
    std::string line = FormatName(format);
    HANDLE data = IsMemoryFormat(format) ? GetClipboardData(format) : nullptr;
    const unsigned char* bytes = data ? static_cast<const unsigned char*>(GlobalLock(data)) : nullptr;
    if (bytes) {
      size_t size = GlobalSize(data);
      char hash[32];
      std::snprintf(hash, sizeof hash, " %zu %08x", size, static_cast<unsigned>(Fnv1a(bytes, size)));
      line += hash;
      if (format == CF_TEXT) {
        text.assign(reinterpret_cast<const char*>(bytes), strnlen(reinterpret_cast<const char*>(bytes), size));
        hasText = true;
      }
      GlobalUnlock(data);
    } else {
      line += " handle";
    }
    lines.push_back(line + "\n");
  }
  CloseClipboard();
  if (textOnly) {
    if (!hasText) return 14;
    return Emit(outPath, text);
  }
  std::sort(lines.begin(), lines.end());
  std::string all;
  for (const std::string& line : lines) all += line;
  return Emit(outPath, all);
}

int ClipHold(const std::vector<std::string>& args) {
  if (args.size() < 2) return 2;
  DWORD ms = static_cast<DWORD>(std::strtoul(args[1].c_str(), nullptr, 10));
  // Held with an owner window: Wine lets a second opener with no window in
  // while the holder has none either, where Windows refuses every other thread.
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "KelvaneClipboardHolder";
  RegisterClassA(&windowClass);
  HWND owner = CreateWindowExA(0, windowClass.lpszClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                               windowClass.hInstance, nullptr);
  if (!owner) {
    std::fprintf(stderr, "standin-ctl: no window to hold the clipboard with\n");
    return 12;
  }
  if (!OpenClipboardPatiently(300, owner)) {
    std::fprintf(stderr, "standin-ctl: clipboard busy\n");
    return 12;
  }
  std::printf("held\n");
  std::fflush(stdout);
  std::string stopFile;
  for (size_t i = 2; i + 1 < args.size(); i += 2) {
    if (args[i] == "--ready") {
      if (FILE* f = std::fopen(args[i + 1].c_str(), "wb")) {
        std::fputs("held\n", f);
        std::fclose(f);
      }
    } else if (args[i] == "--until") {
      stopFile = args[i + 1];
    }
  }
  // Held until the stop file appears (a test decides when, whatever the
  // machine's speed) or the time is up.
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < ms) {
    if (!stopFile.empty() && GetFileAttributesA(stopFile.c_str()) != INVALID_FILE_ATTRIBUTES) break;
    Sleep(10);
  }
  CloseClipboard();
  if (owner) DestroyWindow(owner);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const char* outPath = nullptr;
  int first = 1;
  if (argc >= 3 && std::strcmp(argv[1], "-o") == 0) {
    outPath = argv[2];
    first = 3;
  }
  std::vector<std::string> args;
  for (int i = first; i < argc; ++i) {
    std::string a = argv[i];
    if (a.size() >= 2 && a[0] == '@' && a[1] == '@') {
      args.push_back(a.substr(1));
    } else if (!a.empty() && a[0] == '@') {
      std::string bytes;
      if (!ReadFileBytes(a.substr(1), bytes)) {
        std::fprintf(stderr, "standin-ctl: cannot read %s\n", a.c_str() + 1);
        return 11;
      }
      args.push_back(bytes);
    } else {
      args.push_back(a);
    }
  }
  if (args.empty()) {
    std::fprintf(stderr, "usage: standin-ctl [-o FILE] COMMAND ARG...\n");
    return 2;
  }
  if (args[0] == "clip-set") return ClipSet(args);
  if (args[0] == "clip-get") return ClipGet(outPath, false);
  if (args[0] == "clip-text") return ClipGet(outPath, true);
  if (args[0] == "clip-hold") return ClipHold(args);
  if (args[0] == "close-class" && args.size() >= 2) {
    HWND window = FindWindowA(args[1].c_str(), nullptr);
    return window && PostMessageA(window, WM_CLOSE, 0, 0) ? 0 : 1;
  }
  if (args[0] == "wait-ready") {
    double seconds = args.size() >= 2 ? std::atof(args[1].c_str()) : 10.0;
    DWORD start = GetTickCount();
    unsigned status = 0;
    std::string answer;
    while (!Call({"ping"}, status, answer)) {
      if (GetTickCount() - start > static_cast<DWORD>(seconds * 1000)) {
        std::fprintf(stderr, "standin-ctl: stand-in not reachable\n");
        return 10;
      }
      Sleep(50);
    }
    return 0;
  }
  unsigned status = 0;
  std::string answer;
  if (!Call(args, status, answer)) {
    std::fprintf(stderr, "standin-ctl: stand-in not reachable\n");
    return 10;
  }
  if (status != 0) {
    std::fprintf(stderr, "standin-ctl: %s", answer.c_str());
    return static_cast<int>(status);
  }
  return Emit(outPath, answer);
}
