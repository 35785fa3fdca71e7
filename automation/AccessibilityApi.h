// The browser document of a note window, reached across processes through
// Active Accessibility.  Text crosses in the ANSI code page.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "automation/WindowHandle.h"

// Outcome of reading a text from the document.
enum class TextRead {
  kOk,
  kFailed,
  // Read, but the ANSI code page could not hold every character: the text
  // holds default characters and must not be written back.
  kLossy
};

// The body element (IHTMLElement).
class HtmlElement {
public:
  virtual ~HtmlElement() = default;
  virtual TextRead GetInnerHtml(std::string& html) = 0;
  virtual TextRead GetInnerText(std::string& text) = 0;
  virtual bool PutInnerHtml(const std::string& html) = 0;
  virtual bool PutInnerText(const std::string& text) = 0;
};

// The document (IHTMLDocument2); destroying it releases the reference.
class HtmlDocument {
public:
  virtual ~HtmlDocument() = default;
  // get_body; nullptr when the document has no body (yet) or the call fails.
  virtual std::unique_ptr<HtmlElement> GetBody() = 0;
  virtual bool GetReadyState(std::string& state) = 0;
  virtual TextRead GetTitle(std::string& title) = 0;
  virtual bool PutTitle(const std::string& title) = 0;
  // createStyleSheet(path, 0), releasing the style sheet handed back.
  virtual bool CreateStyleSheet(const std::wstring& path) = 0;
};

// COM, oleacc.dll and the window message that hands out the document.
class AccessibilityApi {
public:
  virtual ~AccessibilityApi() = default;
  virtual void InitializeCom() = 0;
  virtual void UninitializeCom() = 0;
  // LoadLibraryA("OLEACC.DLL"); true when loaded (or already loaded).
  virtual bool LoadLibrary() = 0;
  // GetProcAddress(module, "ObjectFromLresult").
  virtual bool FindObjectFromLresult() = 0;
  virtual void FreeLibrary() = 0;
  virtual unsigned RegisterMessage(const char* name) = 0;
  // SendMessageTimeoutA(window, message, 0, 0, SMTO_ABORTIFHUNG, timeout, &result).
  virtual bool SendMessageTimeout(WindowHandle window, unsigned message, unsigned timeoutMs, std::intptr_t& result) = 0;
  // ObjectFromLresult(result, IID_IHTMLDocument2, 0); nullptr on failure.
  virtual std::unique_ptr<HtmlDocument> ObjectFromLresult(std::intptr_t result) = 0;
};
