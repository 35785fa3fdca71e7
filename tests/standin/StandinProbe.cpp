// standin-probe: proves the stand-in from another process the way a watcher
// would reach it: keys into the body editor, the clipboard, and the document
// behind WM_HTML_GETOBJECT.
//
//   standin-probe copy HWND OUTFILE      focus, Ctrl+End, Space, Ctrl+A, Ctrl+C;
//                                        the copied CF_TEXT to OUTFILE, and
//                                        "html yes|no" for "HTML Format"
//   standin-probe paste HWND TEXT        clipboard := TEXT, focus, Ctrl+A, Ctrl+V
//   standin-probe keys HWND home|up...   focus, then Ctrl+Home / Up per word
//   standin-probe doc HWND|view TEXT     the document: prints what it reads,
//                                        writes TEXT as inner text, reads it
//                                        back, attaches a style sheet, sets
//                                        the title "probe"
#include <windows.h>
#include <objbase.h>
#include <oleacc.h>
#include <mshtml.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "win32/Com.h"
#include "win32/Handles.h"

namespace {

HWND ParseWindow(const char* text) {
  if (std::strcmp(text, "view") == 0) {
    HWND main = FindWindowA("Outlook Express Browser Class", nullptr);
    return main ? FindWindowExA(main, nullptr, "Outlook Express Message View", nullptr) : nullptr;
  }
  return reinterpret_cast<HWND>(static_cast<uintptr_t>(std::strtoull(text, nullptr, 10)));
}

void Key(BYTE vk, BYTE scan, bool up) {
  keybd_event(vk, scan, up ? KEYEVENTF_KEYUP : 0, 0);
  Sleep(10);
}

void Chord(BYTE vk, BYTE scan) {
  Key(VK_CONTROL, 0x1D, false);
  Key(vk, scan, false);
  Key(VK_CONTROL, 0x1D, true);
  Key(vk, scan, true);
}

bool Focus(HWND window) {
  SetForegroundWindow(window);
  Sleep(50);
  return GetForegroundWindow() == window;
}

int Copy(HWND window, const char* outPath) {
  if (!Focus(window)) {
    std::printf("focus failed\n");
    return 1;
  }
  DWORD before = GetClipboardSequenceNumber();
  Chord(VK_END, 0x4F);
  Key(VK_SPACE, 0x39, false);
  Key(VK_SPACE, 0x39, true);
  Chord('A', 0x1E);
  Chord('C', 0x2E);
  for (int i = 0; i < 200 && GetClipboardSequenceNumber() == before; ++i) Sleep(10);
  if (GetClipboardSequenceNumber() == before) {
    std::printf("no copy\n");
    return 1;
  }
  Sleep(50);  // the client fills the formats in one opening; let it close
  for (int i = 0; i < 50 && !OpenClipboard(nullptr); ++i) Sleep(10);
  HANDLE data = GetClipboardData(CF_TEXT);
  const char* text = data ? static_cast<const char*>(GlobalLock(data)) : nullptr;
  std::string copied = text ? std::string(text, strnlen(text, GlobalSize(data))) : "";
  if (text) GlobalUnlock(data);
  bool html = IsClipboardFormatAvailable(RegisterClipboardFormatA("HTML Format")) != FALSE;
  CloseClipboard();
  if (FILE* f = std::fopen(outPath, "wb")) {
    std::fwrite(copied.data(), 1, copied.size(), f);
    std::fclose(f);
  }
  std::printf("html %s\n", html ? "yes" : "no");
  return text ? 0 : 1;
}

int Paste(HWND window, const char* text) {
  for (int i = 0; i < 50 && !OpenClipboard(nullptr); ++i) Sleep(10);
  EmptyClipboard();
  size_t size = std::strlen(text) + 1;
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
  std::memcpy(GlobalLock(memory), text, size);
  GlobalUnlock(memory);
  SetClipboardData(CF_TEXT, memory);
  CloseClipboard();
  if (!Focus(window)) {
    std::printf("focus failed\n");
    return 1;
  }
  Chord('A', 0x1E);
  Chord('V', 0x2F);
  Sleep(100);
  return 0;
}

int Keys(HWND window, int count, char** words) {
  if (!Focus(window)) {
    std::printf("focus failed\n");
    return 1;
  }
  for (int i = 0; i < count; ++i) {
    if (std::strcmp(words[i], "home") == 0) {
      Chord(VK_HOME, 0x47);
    } else {
      Key(VK_UP, 0x48, false);
      Key(VK_UP, 0x48, true);
    }
  }
  Sleep(100);
  return 0;
}

// Best-fit narrowing, as a person reading the text would see it.
std::string Narrow(const Bstr& bstr) {
  BSTR value = bstr.Get();
  if (!value) return "";
  int n = WideCharToMultiByte(CP_ACP, 0, value, static_cast<int>(SysStringLen(value)), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, value, static_cast<int>(SysStringLen(value)), &out[0], n, nullptr, nullptr);
  return out;
}

void Show(const char* name, const std::string& value) {
  std::string shown;
  for (char c : value) shown += c == '\r' ? std::string("\\r") : c == '\n' ? std::string("\\n") : std::string(1, c);
  std::printf("%s=%s\n", name, shown.c_str());
}

int Document(HWND window, const char* text) {
  HWND host = FindWindowExA(window, nullptr, "ME_DocHost", nullptr);
  HWND mime = host ? FindWindowExA(host, nullptr, "##MIMEEdit_Server", nullptr) : nullptr;
  HWND server = mime ? FindWindowExA(mime, nullptr, "Internet Explorer_Server", nullptr) : nullptr;
  if (!server) {
    std::printf("no server window\n");
    return 1;
  }
  ComApartment apartment;
  UINT message = RegisterWindowMessageA("WM_HTML_GETOBJECT");
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(server, message, 0, 0, SMTO_ABORTIFHUNG, 1000, &result)) {
    std::printf("WM_HTML_GETOBJECT failed\n");
    return 1;
  }
  UniqueModule oleacc(LoadLibraryA("OLEACC.DLL"));
  using ObjectFromLresultFn = HRESULT(WINAPI*)(LRESULT, REFIID, WPARAM, void**);
  auto objectFromLresult = reinterpret_cast<ObjectFromLresultFn>(
      reinterpret_cast<void (*)()>(GetProcAddress(oleacc.Get(), "ObjectFromLresult")));
  ComRef<IHTMLDocument2> document;
  HRESULT hr = objectFromLresult
                   ? objectFromLresult(static_cast<LRESULT>(result), IID_IHTMLDocument2, 0, document.ReceiveVoid())
                   : E_FAIL;
  if (FAILED(hr) || !document) {
    std::printf("ObjectFromLresult failed %08lx\n", static_cast<unsigned long>(hr));
    return 1;
  }
  Bstr value;
  document->get_readyState(value.Receive());
  Show("readyState", Narrow(value));
  document->get_title(value.Receive());
  Show("title", Narrow(value));
  ComRef<IHTMLElement> body;
  document->get_body(body.Receive());
  if (!body) {
    std::printf("no body\n");
    return 1;
  }
  body->get_innerText(value.Receive());
  Show("innerText", Narrow(value));
  body->get_innerHTML(value.Receive());
  Show("innerHTML", Narrow(value));
  Bstr put;
  put.FromAnsi(text);
  hr = body->put_innerText(put.Get());
  Show("put_innerText", SUCCEEDED(hr) ? "ok" : "failed");
  body->get_innerText(value.Receive());
  Show("innerText", Narrow(value));
  ComRef<IHTMLStyleSheet> sheet;
  Bstr href;
  href.FromWide(L"C:\\probe\\styles.css");
  hr = document->createStyleSheet(href.Get(), 0, sheet.Receive());
  Show("createStyleSheet", SUCCEEDED(hr) && sheet ? "ok" : "failed");
  Bstr title;
  title.FromWide(L"probe");
  document->put_title(title.Get());
  // An operation the stand-in does not serve must fail cleanly across processes.
  ComRef<IHTMLElementCollection> all;
  hr = document->get_all(all.Receive());
  Show("get_all", hr == E_NOTIMPL ? "E_NOTIMPL" : "unexpected");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: standin-probe copy|paste|keys|doc HWND ...\n");
    return 2;
  }
  HWND window = ParseWindow(argv[2]);
  if (!IsWindow(window)) {
    std::printf("no such window\n");
    return 1;
  }
  if (std::strcmp(argv[1], "copy") == 0 && argc >= 4) return Copy(window, argv[3]);
  if (std::strcmp(argv[1], "paste") == 0 && argc >= 4) return Paste(window, argv[3]);
  if (std::strcmp(argv[1], "keys") == 0) return Keys(window, argc - 3, argv + 3);
  if (std::strcmp(argv[1], "doc") == 0 && argc >= 4) return Document(window, argv[3]);
  return 2;
}
