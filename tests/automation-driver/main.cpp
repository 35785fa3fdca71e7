// kelvane-watch-driver: runs the window watch on a timer of its own, outside
// the main program, and prints every status row it writes.  The end-to-end
// tests start it beside the stand-in mail client.
//
// Usage: kelvane-watch-driver.exe [--cfg FILE] [--set FIELD=VALUE]...
//                                 [--interval MS] [--ticks N] [--boxes print|show] [--trace]
//   --cfg FILE       options file; default "Kelvane.cfg" in the current
//                    directory.  A missing file leaves the defaults.
//   --set F=V        sets one option after loading (field names as in the
//                    options record, e.g. useClipboard=1, dependOnOE=0).
//   --interval MS    timer period; default the checkInterval option.
//   --ticks N        ends after N timer ticks; default: runs until closed.
//   --boxes print    (default) warnings are printed as "box" lines and the
//                    tick goes on at once; "show" puts up the real
//                    system-modal message boxes.
//   --trace          also prints "trace<TAB>CALL" lines for every focus, key
//                    and clipboard call.
// "lang.ini" and "styles.css" are read from the current directory.
//
// Standard output, one line per event, "\n"-terminated and flushed at once:
//   ready                        the timer runs; ticks follow
//   row<TAB>TITLE<TAB>STATUS     a status row, in the order they are added
//   box<TAB>CAPTION<TAB>TEXT     a warning; \n, \r, \t and \\ escaped in TEXT
//   terminate                    the watch ended the program (client gone
//                                and dependOnOE on)
//   exit                         the driver is about to end
// It ends when its hidden window (class "Kelvane Watch Driver") gets
// WM_CLOSE, after --ticks ticks, or on terminate.  Exit code 0; 2 for a bad
// command line.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "LanguageTable.h"
#include "Tracing.h"
#include "SettingAssignment.h"
#include "automation/StatusLog.h"
#include "automation/WindowWatcher.h"
#include "automation/windows/Win32Accessibility.h"
#include "automation/windows/Win32Clipboard.h"
#include "automation/windows/Win32Desktop.h"
#include "automation/windows/Win32System.h"
#include "engine/Settings.h"

namespace {

const char kWindowClass[] = "Kelvane Watch Driver";
const UINT_PTR kTimerId = 1;

void PrintLine(const std::string& line) {
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

std::string Escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\\':
        out += "\\\\";
        break;
      default:
        out += c;
    }
  }
  return out;
}

class PrintedRows : public StatusLog::Listener {
public:
  void OnStatusRow(const StatusRow& row) override { PrintLine("row\t" + row.title + "\t" + row.status); }
};

class PrintedBoxes : public MessageBoxes {
public:
  void ShowWarning(const std::string& caption, const std::string& text) override {
    PrintLine("box\t" + caption + "\t" + Escaped(text));
  }
};

class ShownBoxes : public MessageBoxes {
public:
  void ShowWarning(const std::string& caption, const std::string& text) override {
    PrintLine("box\t" + caption + "\t" + Escaped(text));
    real_.ShowWarning(caption, text);
  }

private:
  Win32MessageBoxes real_;
};

class LanguageTexts : public TextLookup {
public:
  explicit LanguageTexts(const char* file) : table_(file) {}
  const char* GetText(const char* key) override { return table_.GetText(key); }

private:
  LanguageTable table_;
};

class DriverHost : public WatcherHost {
public:
  void ValidateWrapColumn() override {}
  void Terminate() override {
    PrintLine("terminate");
    ::PostQuitMessage(0);
  }
};

struct Options {
  std::string cfg = "Kelvane.cfg";
  std::vector<std::string> sets;
  long interval = -1;
  long ticks = -1;
  bool showBoxes = false;
  bool trace = false;
};

struct DriverState {
  WindowWatcher* watcher = nullptr;
  long ticksLeft = -1;
};

LRESULT CALLBACK DriverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<DriverState*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
  switch (message) {
    case WM_CREATE: {
      const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
      ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
      return 0;
    }
    case WM_TIMER:
      if (wParam == kTimerId && state != nullptr && state->watcher != nullptr) {
        state->watcher->OnTimer();
        if (state->ticksLeft > 0 && --state->ticksLeft == 0) ::DestroyWindow(window);
      }
      return 0;
    case WM_CLOSE:
      ::DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      ::KillTimer(window, kTimerId);
      ::PostQuitMessage(0);
      return 0;
    default:
      return ::DefWindowProcA(window, message, wParam, lParam);
  }
}

int Usage(const std::string& problem) {
  std::fprintf(stderr,
               "kelvane-watch-driver: %s\n"
               "usage: kelvane-watch-driver [--cfg FILE] [--set FIELD=VALUE]... [--interval MS] [--ticks N] "
               "[--boxes print|show] [--trace]\n",
               problem.c_str());
  return 2;
}

bool ParseNumber(const char* text, long& value) {
  char* end = nullptr;
  value = std::strtol(text, &end, 10);
  return end != text && *end == '\0' && value >= 0;
}

}  // namespace

int main(int argc, char** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--cfg" && hasValue) {
      options.cfg = argv[++i];
    } else if (arg == "--set" && hasValue) {
      options.sets.emplace_back(argv[++i]);
    } else if (arg == "--interval" && hasValue) {
      if (!ParseNumber(argv[++i], options.interval)) return Usage("--interval needs a number");
    } else if (arg == "--ticks" && hasValue) {
      if (!ParseNumber(argv[++i], options.ticks) || options.ticks == 0) return Usage("--ticks needs a number > 0");
    } else if (arg == "--boxes" && hasValue) {
      const std::string how = argv[++i];
      if (how != "print" && how != "show") return Usage("--boxes takes print or show");
      options.showBoxes = how == "show";
    } else if (arg == "--trace") {
      options.trace = true;
    } else {
      return Usage("unknown argument " + arg);
    }
  }

  Settings settings;
  ResetSettings(settings);
  LoadSettings(settings, options.cfg.c_str());
  for (const std::string& set : options.sets) {
    std::string error;
    if (!ApplySettingAssignment(settings, set, error)) return Usage(error);
  }

  Win32WindowSystem windows;
  Win32Input input;
  Win32Clipboard clipboard;
  Win32Clock clock;
  PrintedBoxes printedBoxes;
  ShownBoxes shownBoxes;
  Win32Accessibility accessibility;
  MessageBoxes& boxes = options.showBoxes ? static_cast<MessageBoxes&>(shownBoxes) : printedBoxes;
  const TraceSink sink = [](const std::string& call) { PrintLine("trace\t" + call); };
  TracingInput tracedInput(input, sink);
  TracingClipboard tracedClipboard(clipboard, sink);
  AutomationPlatform platform{windows,
                              options.trace ? static_cast<InputApi&>(tracedInput) : input,
                              options.trace ? static_cast<ClipboardApi&>(tracedClipboard) : clipboard,
                              clock,
                              boxes,
                              accessibility};

  LanguageTexts texts("lang.ini");
  StatusLog log;
  PrintedRows rows;
  log.SetListener(&rows);
  DriverHost host;
  WindowWatcher watcher(settings, log, texts, platform, host, CurrentDirectoryW());

  DriverState state;
  state.watcher = &watcher;
  state.ticksLeft = options.ticks;

  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = DriverWindowProc;
  windowClass.hInstance = ::GetModuleHandleA(nullptr);
  windowClass.lpszClassName = kWindowClass;
  if (!::RegisterClassA(&windowClass)) return 1;
  HWND window = ::CreateWindowExA(0, kWindowClass, kWindowClass, WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr,
                                  windowClass.hInstance, &state);
  if (window == nullptr) return 1;
  const long interval = options.interval >= 0 ? options.interval : settings.checkInterval;
  ::SetTimer(window, kTimerId, static_cast<UINT>(interval > 0 ? interval : 1), nullptr);
  PrintLine("ready");

  MSG message;
  while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
  if (::IsWindow(window)) ::DestroyWindow(window);
  PrintLine("exit");
  return 0;
}
