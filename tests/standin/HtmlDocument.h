// The stand-in's own HTML document: a COM object with the IHTMLDocument2 and
// IHTMLElement operations a watcher uses from another process, answered from
// the body pane that owns it.  The COM declarations stay inside
// HtmlDocument.cpp (built as C-style interfaces); callers see plain C++.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace standin {

// What the document reads and writes: the pane's editor text and its HTML.
class DocumentBody {
public:
  virtual ~DocumentBody() = default;
  virtual std::wstring BodyText() = 0;
  virtual void SetBodyText(const std::wstring& text) = 0;
  virtual std::wstring BodyHtml() = 0;
  virtual void SetBodyHtml(const std::wstring& html) = 0;
  // Called after each served call, named as in the counters below; a test
  // can make the window close at such a moment.
  virtual void DocumentCalled(const std::string& name) = 0;
};

// Document-level state that belongs to no editor.
struct DocumentState {
  std::wstring readyState = L"complete";
  std::wstring title;
  std::vector<std::pair<std::wstring, long>> styleSheets;  // href, index
  std::map<std::string, int> calls;                        // "get_innerText" -> 3
};

class HtmlDocument;

// Makes a document answering from body (not owned, must outlive Detach).
HtmlDocument* CreateHtmlDocument(DocumentBody* body);
// Cuts the document off its pane: remote proxies see a disconnected object,
// local references see failures; drops the pane's reference.
void DetachHtmlDocument(HtmlDocument* document);
DocumentState& StateOf(HtmlDocument* document);
// The answer to WM_HTML_GETOBJECT: the document marshalled as IHTMLDocument2.
LRESULT DocumentLresult(HtmlDocument* document, WPARAM wParam);

// Loads the type library that marshals the document interfaces and keeps it
// loaded (freed by the returned call), so that the first WM_HTML_GETOBJECT
// does not spend its one second parsing it.
void* PreloadDocumentTypeLibrary();
void ReleaseDocumentTypeLibrary(void* library);

}  // namespace standin
