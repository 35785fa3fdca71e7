// The body of a note window or of the message view, as the client builds it:
// "ME_DocHost" > "##MIMEEdit_Server" > "Internet Explorer_Server", the last
// answering WM_HTML_GETOBJECT with the pane's document.  Below the server
// window sits the editor the user types into (a RichEdit control).
#pragma once

#include "HtmlDocument.h"

#include <windows.h>

#include <string>

namespace standin {

void RegisterBodyPaneClasses(HINSTANCE instance);

class BodyPane final : public DocumentBody {
public:
  // htmlMail: the message was written in HTML; copies then also carry
  // "HTML Format".  The pane destroys nothing in its destructor: its windows
  // die with their parent, and Detach must run before that (WM_DESTROY).
  BodyPane(HWND parent, const RECT& area, bool readOnly);
  ~BodyPane() override;
  BodyPane(const BodyPane&) = delete;
  BodyPane& operator=(const BodyPane&) = delete;

  // Cuts the document off (remote proxies fail from now on).
  void Detach();
  // Destroys the windows as well (the message view showing another message).
  void Destroy();

  void Load(const std::wstring& text, const std::wstring* html, bool htmlMail);
  void Move(const RECT& area);
  void Focus();

  HWND Host() const { return host_; }
  HWND Server() const { return server_; }
  HWND Editor() const { return editor_; }
  DocumentState& State() { return document_ ? StateOf(document_) : detachedState_; }

  // The event at which the window that holds the pane is to close instead
  // of going on ("copy", "paste", "selectall" or a document call such as
  // "get_innerText"); empty for none.
  void ArmClose(HWND window, const std::string& event) {
    closeWindow_ = window;
    closeOn_ = event;
  }

  void CaretInfo(long& line, long& selStart, long& selEnd, long& lineCount) const;

  // DocumentBody
  std::wstring BodyText() override;
  void SetBodyText(const std::wstring& text) override;
  std::wstring BodyHtml() override;
  void SetBodyHtml(const std::wstring& html) override;
  void DocumentCalled(const std::string& name) override;

  static LRESULT CALLBACK ServerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

private:
  static LRESULT CALLBACK EditorProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  bool Fire(const char* event);  // true when the window is being closed instead
  void Copy();
  void Paste();
  void SetEditorText(const std::wstring& text);
  void CaretToEnd();
  int Count(const char* name) { return ++State().calls[name]; }

  HWND host_ = nullptr;
  HWND mime_ = nullptr;
  HWND server_ = nullptr;
  HWND editor_ = nullptr;
  WNDPROC editorProc_ = nullptr;
  HtmlDocument* document_ = nullptr;
  bool htmlMail_ = false;
  bool hasHtml_ = false;  // html_ holds markup of its own, not derived from the text
  std::wstring html_;
  DocumentState detachedState_;  // answers for a pane whose document is gone
  HWND closeWindow_ = nullptr;
  std::string closeOn_;
};

}  // namespace standin
