// standin: a small mail client that exposes exactly the windows, keys,
// clipboard behaviour and documents the watcher relies on, so that the
// watcher can be exercised end to end without the real client.  Tests drive
// it through standin-ctl (see ControlProtocol.h); the commands are listed in
// Execute below.
#include "BodyPane.h"
#include "HtmlDocument.h"
#include "ControlProtocol.h"
#include "StandinText.h"

#include <windows.h>
#include <objbase.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace standin {
namespace {

const UINT kCommandMessage = WM_APP + 1;

struct Command {
  std::vector<std::string> args;
  unsigned status = 0;
  std::string answer;
  bool quit = false;
};

struct NoteWindow {
  HWND hwnd = nullptr;
  bool composition = false;
  HWND envelope = nullptr;
  std::unique_ptr<BodyPane> pane;
};

// Options after the positional arguments: "--name value" pairs.
class Options {
public:
  Options(const std::vector<std::string>& args, size_t first) {
    for (size_t i = first; i < args.size(); ++i) {
      if (args[i].compare(0, 2, "--") != 0) {
        positional_.push_back(args[i]);
      } else if (i + 1 < args.size()) {
        values_[args[i].substr(2)] = args[i + 1];
        ++i;
      } else {
        values_[args[i].substr(2)] = "";
      }
    }
  }
  bool Has(const char* name) const { return values_.count(name) != 0; }
  std::string Get(const char* name, const std::string& fallback = "") const {
    auto it = values_.find(name);
    return it == values_.end() ? fallback : it->second;
  }
  const std::vector<std::string>& Positional() const { return positional_; }

private:
  std::map<std::string, std::string> values_;
  std::vector<std::string> positional_;
};

class StandinApp {
public:
  bool Create(HINSTANCE instance);
  HWND ControlWindow() const { return control_; }
  void Execute(Command& command);

  static LRESULT CALLBACK MainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK ViewProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK NoteProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK EnvelopeProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK ControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

private:
  std::string Open(const Options& options, unsigned& status);
  void LoadView(const Options& options);
  BodyPane* PaneOf(const std::string& id, NoteWindow** note = nullptr);
  void LayoutNote(NoteWindow& note);

  HINSTANCE instance_ = nullptr;
  HWND main_ = nullptr;
  HWND view_ = nullptr;
  HWND control_ = nullptr;
  std::unique_ptr<BodyPane> viewPane_;
  std::map<HWND, std::unique_ptr<NoteWindow>> notes_;
};

StandinApp* AppOf(HWND hwnd) {
  return reinterpret_cast<StandinApp*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

void KeepApp(HWND hwnd, LPARAM lParam) {
  auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
}

RECT ClientArea(HWND hwnd) {
  RECT r{};
  GetClientRect(hwnd, &r);
  return r;
}

std::string IdOf(HWND hwnd) {
  return std::to_string(reinterpret_cast<uintptr_t>(hwnd));
}

bool StandinApp::Create(HINSTANCE instance) {
  instance_ = instance;
  RegisterBodyPaneClasses(instance);
  WNDCLASSW wc{};
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpfnWndProc = MainProc;
  wc.lpszClassName = L"Outlook Express Browser Class";
  RegisterClassW(&wc);
  wc.lpfnWndProc = ViewProc;
  wc.lpszClassName = L"Outlook Express Message View";
  RegisterClassW(&wc);
  wc.lpfnWndProc = NoteProc;
  wc.lpszClassName = L"ATH_NOTE";
  RegisterClassW(&wc);
  wc.lpfnWndProc = EnvelopeProc;
  wc.lpszClassName = L"OE_Envelope";
  RegisterClassW(&wc);
  wc.lpfnWndProc = ControlProc;
  wc.lpszClassName = L"KelvaneStandinControl";
  RegisterClassW(&wc);

  control_ = CreateWindowExW(0, L"KelvaneStandinControl", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, this);
  main_ = CreateWindowExW(0, L"Outlook Express Browser Class", L"Outlook Express", WS_OVERLAPPEDWINDOW, 0, 0, 900, 700,
                          nullptr, nullptr, instance, this);
  if (!control_ || !main_) return false;
  RECT area = ClientArea(main_);
  view_ = CreateWindowExW(0, L"Outlook Express Message View", L"", WS_CHILD | WS_VISIBLE, 0, area.bottom / 2,
                          area.right, area.bottom / 2, main_, nullptr, instance, this);
  viewPane_ = std::make_unique<BodyPane>(view_, ClientArea(view_), true);
  viewPane_->Load(L"", nullptr, false);
  ShowWindow(main_, SW_SHOWNORMAL);
  return view_ != nullptr;
}

void StandinApp::LayoutNote(NoteWindow& note) {
  RECT area = ClientArea(note.hwnd);
  const int envelopeHeight = note.composition ? 80 : 0;
  if (note.envelope) MoveWindow(note.envelope, 0, 0, area.right, envelopeHeight, TRUE);
  area.top = envelopeHeight;
  if (note.pane) note.pane->Move(area);
}

std::string StandinApp::Open(const Options& options, unsigned& status) {
  const std::vector<std::string>& kind = options.Positional();
  if (kind.empty() || (kind[0] != "compose" && kind[0] != "received")) {
    status = 2;
    return "open: kind must be compose or received\n";
  }
  auto note = std::make_unique<NoteWindow>();
  note->composition = kind[0] == "compose";
  std::wstring title = Widen(options.Get("title"));
  note->hwnd = CreateWindowExW(0, L"ATH_NOTE", title.c_str(), WS_OVERLAPPEDWINDOW, 40, 40, 800, 600, nullptr, nullptr,
                               instance_, this);
  if (!note->hwnd) {
    status = 1;
    return "open: CreateWindowEx failed\n";
  }
  if (note->composition) {
    note->envelope = CreateWindowExW(0, L"OE_Envelope", L"", WS_CHILD | WS_VISIBLE, 0, 0, 800, 80, note->hwnd, nullptr,
                                     instance_, nullptr);
    CreateWindowExW(0, L"ComboBox", L"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, 60, 8, 400, 120, note->envelope, nullptr,
                    instance_, nullptr);
  }
  RECT area = ClientArea(note->hwnd);
  area.top = note->composition ? 80 : 0;
  note->pane = std::make_unique<BodyPane>(note->hwnd, area, !note->composition);
  std::wstring text = Widen(options.Get("body"));
  std::wstring html = Widen(options.Get("html"));
  note->pane->Load(text, options.Has("html") ? &html : nullptr, options.Has("html"));
  if (options.Has("state")) note->pane->State().readyState = Widen(options.Get("state"));
  // Armed here rather than by a later command, which could come after the
  // watch has already handled the window.
  if (options.Has("arm-close")) note->pane->ArmClose(note->hwnd, options.Get("arm-close"));
  HWND hwnd = note->hwnd;
  notes_[hwnd] = std::move(note);
  ShowWindow(hwnd, SW_SHOWNORMAL);
  SetForegroundWindow(hwnd);
  return IdOf(hwnd) + "\n";
}

void StandinApp::LoadView(const Options& options) {
  if (options.Has("new")) {
    // Another message: the client builds a new document window for it.
    viewPane_->Destroy();
    viewPane_ = std::make_unique<BodyPane>(view_, ClientArea(view_), true);
  }
  std::wstring text = Widen(options.Get("body"));
  std::wstring html = Widen(options.Get("html"));
  viewPane_->Load(text, options.Has("html") ? &html : nullptr, options.Has("html"));
  viewPane_->State().title.clear();
  if (options.Has("state")) viewPane_->State().readyState = Widen(options.Get("state"));
}

BodyPane* StandinApp::PaneOf(const std::string& id, NoteWindow** note) {
  if (id == "view") return viewPane_.get();
  HWND hwnd = reinterpret_cast<HWND>(static_cast<uintptr_t>(std::strtoull(id.c_str(), nullptr, 10)));
  auto it = notes_.find(hwnd);
  if (it == notes_.end()) return nullptr;
  if (note) *note = it->second.get();
  return it->second->pane.get();
}

void StandinApp::Execute(Command& command) {
  const std::vector<std::string>& args = command.args;
  const std::string verb = args.empty() ? "" : args[0];
  if (verb == "ping") {
    command.answer = "pong\n";
    return;
  }
  if (verb == "quit") {
    command.quit = true;
    command.answer = "bye\n";
    return;
  }
  if (verb == "open") {
    command.answer = Open(Options(args, 1), command.status);
    return;
  }
  if (verb == "view") {
    LoadView(Options(args, 1));
    command.answer = "view " + IdOf(viewPane_->Server()) + "\n";
    return;
  }
  if (verb == "list") {
    for (const auto& entry : notes_) {
      char title[256] = "";
      GetWindowTextA(entry.first, title, sizeof title);
      command.answer += IdOf(entry.first) + (entry.second->composition ? " compose " : " received ") + title + "\n";
    }
    return;
  }
  // Everything else names a window: a note window's id or "view".
  NoteWindow* note = nullptr;
  BodyPane* pane = args.size() >= 2 ? PaneOf(args[1], &note) : nullptr;
  if (!pane) {
    command.status = 3;
    command.answer = verb + ": no such window\n";
    return;
  }
  const std::string value = args.size() >= 3 ? args[2] : "";
  if (verb == "title" && note) {
    SetWindowTextW(note->hwnd, Widen(value).c_str());
  } else if (verb == "close" && note) {
    DestroyWindow(note->hwnd);
  } else if (verb == "arm-close" && note) {
    pane->ArmClose(note->hwnd, value);
  } else if (verb == "state") {
    pane->State().readyState = Widen(value);
  } else if (verb == "doctitle") {
    if (args.size() >= 3) pane->State().title = Widen(value);
    command.answer = Narrow(pane->State().title);
  } else if (verb == "body") {
    command.answer = Narrow(pane->BodyText());
  } else if (verb == "html") {
    command.answer = Narrow(pane->BodyHtml());
  } else if (verb == "wintitle" && note) {
    char title[256] = "";
    GetWindowTextA(note->hwnd, title, sizeof title);
    command.answer = title;
  } else if (verb == "caret") {
    long line, selStart, selEnd, lineCount;
    pane->CaretInfo(line, selStart, selEnd, lineCount);
    command.answer = "line " + std::to_string(line) + " sel " + std::to_string(selStart) + " " +
                     std::to_string(selEnd) + " lines " + std::to_string(lineCount) + "\n";
  } else if (verb == "sheets") {
    for (const auto& sheet : pane->State().styleSheets)
      command.answer += Narrow(sheet.first) + "\t" + std::to_string(sheet.second) + "\n";
  } else if (verb == "stats") {
    for (const auto& call : pane->State().calls)
      command.answer += call.first + "=" + std::to_string(call.second) + "\n";
  } else if (verb == "server") {
    command.answer = IdOf(pane->Server()) + "\n";
  } else {
    command.status = 2;
    command.answer = "unknown command or not for this window: " + verb + "\n";
  }
}

LRESULT CALLBACK StandinApp::MainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) KeepApp(hwnd, lParam);
  StandinApp* app = AppOf(hwnd);
  if (msg == WM_SIZE && app && app->view_) {
    RECT area = ClientArea(hwnd);
    MoveWindow(app->view_, 0, area.bottom / 2, area.right, area.bottom - area.bottom / 2, TRUE);
    return 0;
  }
  if (msg == WM_CLOSE) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK StandinApp::ViewProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) KeepApp(hwnd, lParam);
  StandinApp* app = AppOf(hwnd);
  if (msg == WM_SIZE && app && app->viewPane_) {
    app->viewPane_->Move(ClientArea(hwnd));
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK StandinApp::NoteProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) KeepApp(hwnd, lParam);
  StandinApp* app = AppOf(hwnd);
  NoteWindow* note = nullptr;
  if (app) {
    auto it = app->notes_.find(hwnd);
    if (it != app->notes_.end()) note = it->second.get();
  }
  switch (msg) {
    case WM_SIZE:
      if (note) app->LayoutNote(*note);
      return 0;
    case WM_SETFOCUS:
      if (note && note->pane) note->pane->Focus();
      return 0;
    case WM_DESTROY:
      // Before the children go: remote callers must see the document vanish.
      if (note && note->pane) note->pane->Detach();
      return 0;
    case WM_NCDESTROY:
      if (note) app->notes_.erase(hwnd);
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK StandinApp::EnvelopeProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK StandinApp::ControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) KeepApp(hwnd, lParam);
  if (msg == kCommandMessage) {
    auto* command = reinterpret_cast<Command*>(lParam);
    AppOf(hwnd)->Execute(*command);
    if (command->quit) PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// Serves the pipe on a thread of its own; each command runs on the window
// thread, where the windows and the document live.
void ServePipe(HWND control) {
  for (;;) {
    HANDLE pipe =
        CreateNamedPipeA(kPipeName, PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE | PIPE_WAIT, 1, 1 << 16, 1 << 16, 0, nullptr);
    if (pipe == INVALID_HANDLE_VALUE) {
      std::fprintf(stderr, "standin: cannot create %s (%lu)\n", kPipeName, GetLastError());
      PostMessageW(control, WM_QUIT, 0, 0);
      return;
    }
    if (!ConnectNamedPipe(pipe, nullptr) && GetLastError() != ERROR_PIPE_CONNECTED) {
      CloseHandle(pipe);
      continue;
    }
    Command command;
    bool quit = false;
    if (ReadRequest(pipe, command.args)) {
      SendMessageW(control, kCommandMessage, 0, reinterpret_cast<LPARAM>(&command));
      WriteAll(pipe, EncodeAnswer(command.status, command.answer));
      FlushFileBuffers(pipe);
      quit = command.quit;
    }
    DisconnectNamedPipe(pipe);
    CloseHandle(pipe);
    if (quit) return;
  }
}

}  // namespace
}  // namespace standin

int main() {
  using namespace standin;
  // The pipe allows one instance; a second stand-in would confuse every test.
  if (WaitNamedPipeA(kPipeName, 1) || GetLastError() == ERROR_SEM_TIMEOUT) {
    std::fprintf(stderr, "standin: another stand-in is running\n");
    return 2;
  }
  CoInitialize(nullptr);
  void* typeLibrary = PreloadDocumentTypeLibrary();
  StandinApp app;
  if (!app.Create(GetModuleHandleW(nullptr))) {
    std::fprintf(stderr, "standin: cannot create the main window\n");
    return 1;
  }
  std::thread server(ServePipe, app.ControlWindow());
  server.detach();
  std::printf("standin ready\n");
  std::fflush(stdout);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  ReleaseDocumentTypeLibrary(typeLibrary);
  CoUninitialize();
  return 0;
}
