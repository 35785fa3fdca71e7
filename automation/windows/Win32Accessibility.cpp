#include "automation/windows/Win32Accessibility.h"

#include <mshtml.h>
#include <objbase.h>

#include "automation/windows/Hwnd.h"

namespace {

// IID_IHTMLDocument2, spelt out so that no import library has to carry it.
const IID kIidHtmlDocument2 = {0x332C4425, 0x26CB, 0x11D0, {0xB4, 0x83, 0x00, 0xC0, 0x4F, 0xD9, 0x01, 0x19}};
// LIBID_MSHTML, version 4.0.
const GUID kMshtmlLibrary = {0x3050F1C5, 0x98B5, 0x11CF, {0xBB, 0x82, 0x00, 0xAA, 0x00, 0xBD, 0xCE, 0x0B}};

TextRead ReadBstr(HRESULT hr, const Bstr& value, std::string& text) {
  bool lossy = false;
  if (FAILED(hr) || !value.ToAnsi(text, lossy)) return TextRead::kFailed;
  return lossy ? TextRead::kLossy : TextRead::kOk;
}

class Win32HtmlElement : public HtmlElement {
public:
  explicit Win32HtmlElement(IHTMLElement* element) : element_(element) {}

  TextRead GetInnerHtml(std::string& html) override {
    Bstr value;
    const HRESULT hr = element_->get_innerHTML(value.Receive());
    return ReadBstr(hr, value, html);
  }
  TextRead GetInnerText(std::string& text) override {
    Bstr value;
    const HRESULT hr = element_->get_innerText(value.Receive());
    return ReadBstr(hr, value, text);
  }
  bool PutInnerHtml(const std::string& html) override {
    Bstr value;
    return value.FromAnsi(html) && SUCCEEDED(element_->put_innerHTML(value.Get()));
  }
  bool PutInnerText(const std::string& text) override {
    Bstr value;
    return value.FromAnsi(text) && SUCCEEDED(element_->put_innerText(value.Get()));
  }

private:
  ComRef<IHTMLElement> element_;
};

class Win32HtmlDocument : public HtmlDocument {
public:
  explicit Win32HtmlDocument(IHTMLDocument2* document) : document_(document) {}

  std::unique_ptr<HtmlElement> GetBody() override {
    IHTMLElement* body = nullptr;
    if (FAILED(document_->get_body(&body)) || body == nullptr) return nullptr;
    return std::unique_ptr<HtmlElement>(new Win32HtmlElement(body));
  }
  bool GetReadyState(std::string& state) override {
    Bstr value;
    const HRESULT hr = document_->get_readyState(value.Receive());
    return ReadBstr(hr, value, state) == TextRead::kOk;
  }
  TextRead GetTitle(std::string& title) override {
    Bstr value;
    const HRESULT hr = document_->get_title(value.Receive());
    return ReadBstr(hr, value, title);
  }
  bool PutTitle(const std::string& title) override {
    Bstr value;
    return value.FromAnsi(title) && SUCCEEDED(document_->put_title(value.Get()));
  }
  bool CreateStyleSheet(const std::wstring& path) override {
    Bstr href;
    if (!href.FromWide(path)) return false;
    ComRef<IHTMLStyleSheet> sheet;
    return SUCCEEDED(document_->createStyleSheet(href.Get(), 0, sheet.Receive()));
  }

private:
  ComRef<IHTMLDocument2> document_;
};

}  // namespace

void Win32Accessibility::InitializeCom() {
  apartment_.emplace();
  // Without the library the proxies are still built, only slower.
  if (apartment_->Entered()) ::LoadRegTypeLib(kMshtmlLibrary, 4, 0, LOCALE_NEUTRAL, documentTypes_.Receive());
}

void Win32Accessibility::UninitializeCom() {
  documentTypes_.Reset();
  apartment_.reset();
}

bool Win32Accessibility::LoadLibrary() {
  if (!module_) module_.Reset(::LoadLibraryA("OLEACC.DLL"));
  return static_cast<bool>(module_);
}

bool Win32Accessibility::FindObjectFromLresult() {
  objectFromLresult_ = nullptr;
  if (!module_) return false;
  const FARPROC proc = ::GetProcAddress(module_.Get(), "ObjectFromLresult");
  objectFromLresult_ = reinterpret_cast<ObjectFromLresultFunction>(reinterpret_cast<void (*)()>(proc));
  return objectFromLresult_ != nullptr;
}

void Win32Accessibility::FreeLibrary() {
  objectFromLresult_ = nullptr;
  module_.Reset();
}

unsigned Win32Accessibility::RegisterMessage(const char* name) {
  return ::RegisterWindowMessageA(name);
}

bool Win32Accessibility::SendMessageTimeout(WindowHandle window, unsigned message, unsigned timeoutMs,
                                            std::intptr_t& result) {
  DWORD_PTR answer = 0;
  if (::SendMessageTimeoutA(ToHwnd(window), message, 0, 0, SMTO_ABORTIFHUNG, timeoutMs, &answer) == 0) return false;
  result = static_cast<std::intptr_t>(answer);
  return true;
}

std::unique_ptr<HtmlDocument> Win32Accessibility::ObjectFromLresult(std::intptr_t result) {
  if (objectFromLresult_ == nullptr) return nullptr;
  void* object = nullptr;
  if (FAILED(objectFromLresult_(static_cast<LRESULT>(result), kIidHtmlDocument2, 0, &object)) || object == nullptr)
    return nullptr;
  return std::unique_ptr<HtmlDocument>(new Win32HtmlDocument(static_cast<IHTMLDocument2*>(object)));
}
