#include "BodyPane.h"

#include "StandinText.h"

#include <richedit.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

namespace standin {

namespace {

const wchar_t kPaneProp[] = L"KelvaneStandinPane";

UINT HtmlGetObjectMessage() {
  static const UINT id = RegisterWindowMessageW(L"WM_HTML_GETOBJECT");
  return id;
}

UINT HtmlClipboardFormat() {
  static const UINT id = RegisterClipboardFormatW(L"HTML Format");
  return id;
}

// The two outer windows of the chain only pass size and focus down.
LRESULT CALLBACK PassDownProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_SIZE: {
      HWND child = GetWindow(hwnd, GW_CHILD);
      if (child) MoveWindow(child, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
      return 0;
    }
    case WM_SETFOCUS: {
      HWND child = GetWindow(hwnd, GW_CHILD);
      if (child) SetFocus(child);
      return 0;
    }
    default:
      return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}

// Another program may hold the clipboard for a moment; the client retries.
bool OpenClipboardPatiently(HWND owner) {
  for (int attempt = 0; attempt < 50; ++attempt) {
    if (OpenClipboard(owner)) return true;
    Sleep(10);
  }
  return false;
}

bool PutClipboard(UINT format, const void* data, size_t size) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!memory) return false;
  void* target = GlobalLock(memory);
  if (!target) {
    GlobalFree(memory);
    return false;
  }
  std::memcpy(target, data, size);
  GlobalUnlock(memory);
  if (!SetClipboardData(format, memory)) {
    GlobalFree(memory);
    return false;
  }
  return true;
}

}  // namespace

void RegisterBodyPaneClasses(HINSTANCE instance) {
  LoadLibraryW(L"Msftedit.dll");
  WNDCLASSW wc{};
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpfnWndProc = PassDownProc;
  wc.lpszClassName = L"ME_DocHost";
  RegisterClassW(&wc);
  wc.lpszClassName = L"##MIMEEdit_Server";
  RegisterClassW(&wc);
  wc.lpfnWndProc = BodyPane::ServerProc;
  wc.lpszClassName = L"Internet Explorer_Server";
  RegisterClassW(&wc);
}

BodyPane::BodyPane(HWND parent, const RECT& area, bool readOnly) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  int width = area.right - area.left, height = area.bottom - area.top;
  host_ = CreateWindowExW(0, L"ME_DocHost", L"", WS_CHILD | WS_VISIBLE, area.left, area.top, width, height, parent,
                          nullptr, instance, nullptr);
  mime_ = CreateWindowExW(0, L"##MIMEEdit_Server", L"", WS_CHILD | WS_VISIBLE, 0, 0, width, height, host_, nullptr,
                          instance, nullptr);
  server_ = CreateWindowExW(0, L"Internet Explorer_Server", L"", WS_CHILD | WS_VISIBLE, 0, 0, width, height, mime_,
                            nullptr, instance, nullptr);
  SetPropW(server_, kPaneProp, this);
  DWORD style =
      WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_NOHIDESEL;
  if (readOnly) style |= ES_READONLY;
  editor_ = CreateWindowExW(0, MSFTEDIT_CLASS, L"", style, 0, 0, width, height, server_, nullptr, instance, nullptr);
  SendMessageW(editor_, EM_SETTEXTMODE, TM_PLAINTEXT | TM_MULTILEVELUNDO | TM_MULTICODEPAGE, 0);
  SendMessageW(editor_, EM_EXLIMITTEXT, 0, 1 << 24);
  // Lines as the body has them: a wrapped display line would make Up climb
  // less than one body line.
  SendMessageW(editor_, EM_SETTARGETDEVICE, 0, 1);
  SetPropW(editor_, kPaneProp, this);
  editorProc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(editor_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&BodyPane::EditorProc)));
  document_ = CreateHtmlDocument(this);
}

BodyPane::~BodyPane() {
  Detach();
}

void BodyPane::Detach() {
  if (!document_) return;
  HtmlDocument* document = document_;
  document_ = nullptr;
  if (server_) RemovePropW(server_, kPaneProp);
  if (editor_) RemovePropW(editor_, kPaneProp);
  DetachHtmlDocument(document);
}

void BodyPane::Destroy() {
  Detach();
  if (host_) DestroyWindow(host_);
  host_ = mime_ = server_ = editor_ = nullptr;
}

void BodyPane::Move(const RECT& area) {
  if (host_) MoveWindow(host_, area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
}

void BodyPane::Focus() {
  if (editor_) SetFocus(editor_);
}

void BodyPane::Load(const std::wstring& text, const std::wstring* html, bool htmlMail) {
  htmlMail_ = htmlMail;
  hasHtml_ = html != nullptr;
  html_ = html ? *html : std::wstring();
  SetEditorText(html && text.empty() ? TextFromHtml(*html) : WithCrLf(text));
  // A freshly opened message has its caret at the top.
  SendMessageW(editor_, EM_SETSEL, 0, 0);
}

void BodyPane::SetEditorText(const std::wstring& text) {
  if (editor_) SendMessageW(editor_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void BodyPane::CaretToEnd() {
  if (!editor_) return;
  GETTEXTLENGTHEX how{GTL_NUMCHARS | GTL_PRECISE, 1200};
  LRESULT length = SendMessageW(editor_, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&how), 0);
  CHARRANGE end{static_cast<LONG>(length), static_cast<LONG>(length)};
  SendMessageW(editor_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&end));
}

std::wstring BodyPane::BodyText() {
  if (!editor_) return std::wstring();
  LRESULT length = SendMessageW(editor_, WM_GETTEXTLENGTH, 0, 0);
  std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
  LRESULT got =
      SendMessageW(editor_, WM_GETTEXT, static_cast<WPARAM>(buffer.size()), reinterpret_cast<LPARAM>(buffer.data()));
  return WithCrLf(std::wstring(buffer.data(), static_cast<size_t>(got)));
}

// What the document's innerText writes: the client replaces the body and
// leaves the caret on its last line.
void BodyPane::SetBodyText(const std::wstring& text) {
  hasHtml_ = false;
  SetEditorText(WithCrLf(text));
  CaretToEnd();
}

std::wstring BodyPane::BodyHtml() {
  return hasHtml_ ? html_ : HtmlFromText(BodyText());
}

void BodyPane::SetBodyHtml(const std::wstring& html) {
  hasHtml_ = true;
  html_ = html;
  SetEditorText(TextFromHtml(html));
  CaretToEnd();
}

void BodyPane::DocumentCalled(const std::string& name) {
  if (!closeOn_.empty() && closeOn_ == name) Fire(name.c_str());
}

bool BodyPane::Fire(const char* event) {
  if (closeOn_ != event || !closeWindow_) return false;
  Count((std::string("closed-on-") + event).c_str());
  PostMessageW(closeWindow_, WM_CLOSE, 0, 0);
  closeOn_.clear();
  return true;
}

void BodyPane::CaretInfo(long& line, long& selStart, long& selEnd, long& lineCount) const {
  line = selStart = selEnd = lineCount = -1;
  if (!editor_) return;
  CHARRANGE sel{};
  SendMessageW(editor_, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&sel));
  selStart = sel.cpMin;
  selEnd = sel.cpMax;
  // Count body lines before the caret from the text itself, so that the
  // answer does not depend on how the control lays out its display lines.
  std::vector<wchar_t> before(static_cast<size_t>(sel.cpMin) * 2 + 2, L'\0');
  TEXTRANGEW range{{0, sel.cpMin}, before.data()};
  SendMessageW(editor_, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
  std::wstring head = WithCrLf(before.data());
  line = 0;
  for (wchar_t c : head) line += c == L'\n';
  LRESULT length = SendMessageW(editor_, WM_GETTEXTLENGTH, 0, 0);
  std::vector<wchar_t> all(static_cast<size_t>(length) + 1, L'\0');
  SendMessageW(editor_, WM_GETTEXT, static_cast<WPARAM>(all.size()), reinterpret_cast<LPARAM>(all.data()));
  lineCount = 1;
  for (wchar_t c : WithCrLf(all.data())) lineCount += c == L'\n';
}

void BodyPane::Copy() {
  CHARRANGE sel{};
  SendMessageW(editor_, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&sel));
  if (sel.cpMax <= sel.cpMin) {
    Count("copy-nothing");
    return;
  }
  std::vector<wchar_t> buffer(static_cast<size_t>(sel.cpMax - sel.cpMin) * 2 + 2, L'\0');
  SendMessageW(editor_, EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(buffer.data()));
  std::wstring text = WithCrLf(buffer.data());
  std::string ansi = Narrow(text);
  if (!OpenClipboardPatiently(editor_)) {
    Count("copy-failed");
    return;
  }
  EmptyClipboard();
  bool ok = PutClipboard(CF_UNICODETEXT, text.c_str(), (text.size() + 1) * sizeof(wchar_t)) &&
            PutClipboard(CF_TEXT, ansi.c_str(), ansi.size() + 1);
  if (ok && htmlMail_) {
    std::string block = ClipboardHtml(Utf8(BodyHtml()));
    ok = PutClipboard(HtmlClipboardFormat(), block.c_str(), block.size() + 1);
  }
  CloseClipboard();
  Count(ok ? "copy" : "copy-failed");
}

void BodyPane::Paste() {
  if (!OpenClipboardPatiently(editor_)) {
    Count("paste-failed");
    return;
  }
  std::string ansi;
  bool found = false;
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    if (const char* text = static_cast<const char*>(GlobalLock(data))) {
      ansi.assign(text, strnlen(text, GlobalSize(data)));
      found = true;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  if (!found) {
    Count("paste-nothing");
    return;
  }
  std::wstring text = WithCrLf(Widen(ansi));
  SendMessageW(editor_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
  hasHtml_ = false;  // pasted plain text replaces the markup it covered
  Count("paste");
}

LRESULT CALLBACK BodyPane::EditorProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* pane = static_cast<BodyPane*>(GetPropW(hwnd, kPaneProp));
  if (!pane) {
    // Detached while the control still lives: hand the message to RichEdit's
    // own procedure, which the class remembers.
    WNDCLASSW wc{};
    GetClassInfoW(nullptr, MSFTEDIT_CLASS, &wc);
    return CallWindowProcW(wc.lpfnWndProc, hwnd, msg, wParam, lParam);
  }
  const bool ctrl = GetKeyState(VK_CONTROL) < 0;
  switch (msg) {
    case WM_KEYDOWN:
      pane->Count("keydown");
      if (ctrl && wParam == 'C') {
        if (!pane->Fire("copy")) pane->Copy();
        return 0;
      }
      if (ctrl && wParam == 'V') {
        if (!pane->Fire("paste")) pane->Paste();
        return 0;
      }
      if (ctrl && wParam == 'A') {
        pane->Count("selectall");
        if (pane->Fire("selectall")) return 0;
      }
      break;
    case WM_CHAR:
      if (wParam == 0x03 || wParam == 0x16) return 0;  // the Ctrl+C and Ctrl+V characters
      break;
    case WM_COPY:
      pane->Copy();
      return 0;
    case WM_PASTE:
      pane->Paste();
      return 0;
    default:
      break;
  }
  return CallWindowProcW(pane->editorProc_, hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK BodyPane::ServerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* pane = static_cast<BodyPane*>(GetPropW(hwnd, kPaneProp));
  if (msg == HtmlGetObjectMessage() && msg != 0) {
    if (!pane || !pane->document_) return 0;
    pane->Count("WM_HTML_GETOBJECT");
    const DWORD start = GetTickCount();
    LRESULT result = DocumentLresult(pane->document_, wParam);
    // Callers wait a second at most: keep the slowest answer for the tests.
    int& slowest = pane->State().calls["WM_HTML_GETOBJECT-slowest-ms"];
    slowest = std::max(slowest, static_cast<int>(GetTickCount() - start));
    return result;
  }
  switch (msg) {
    case WM_SIZE:
      if (pane && pane->editor_) MoveWindow(pane->editor_, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
      return 0;
    case WM_SETFOCUS:
      if (pane && pane->editor_) SetFocus(pane->editor_);
      return 0;
    default:
      return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}

}  // namespace standin
