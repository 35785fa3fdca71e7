// The HTML document of a note window or of the message view, and the
// accessibility library through which every such document is reached.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "automation/AccessibilityApi.h"
#include "automation/DesktopApi.h"
#include "automation/SystemApi.h"
#include "engine/Settings.h"

// Loads oleacc.dll for as long as any DocumentAccess lives, and warns once per
// run when it or its ObjectFromLresult is missing.
class AccessibilityLibrary {
public:
  AccessibilityLibrary(AccessibilityApi& api, const Settings& settings, TextLookup& texts, MessageBoxes& boxes);
  ~AccessibilityLibrary();
  AccessibilityLibrary(const AccessibilityLibrary&) = delete;
  AccessibilityLibrary& operator=(const AccessibilityLibrary&) = delete;

  AccessibilityApi& Api() { return api_; }
  bool IsLoaded() const { return loaded_; }
  bool HasObjectFromLresult() const { return hasObjectFromLresult_; }
  unsigned MessageId() const { return messageId_; }
  int Users() const { return users_; }

  // Called by DocumentAccess when it is made and destroyed.
  void AddUser();
  void RemoveUser();

private:
  AccessibilityApi& api_;
  const Settings& settings_;
  TextLookup& texts_;
  MessageBoxes& boxes_;
  bool loaded_ = false;
  bool hasObjectFromLresult_ = false;
  unsigned messageId_ = 0;
  bool warningShown_ = false;
  int users_ = 0;
};

// One document at a time, reused: each AcquireDocument drops the last one.
//
// Asking a server window for its document builds a new cross-process proxy,
// by far the dearest step of looking at a window.  While keeping is on, a
// released document stays with its server window and the next AcquireDocument
// for that window takes it back without asking; a document whose calls failed
// is not kept, and ForgetUnusedDocuments lets go of those not acquired since
// its last call.
class DocumentAccess {
public:
  DocumentAccess(AccessibilityLibrary& library, WindowSystem& windows);
  ~DocumentAccess();
  DocumentAccess(const DocumentAccess&) = delete;
  DocumentAccess& operator=(const DocumentAccess&) = delete;

  // "ME_DocHost" > "##MIMEEdit_Server" > "Internet Explorer_Server" below the
  // parent; remembered as the server window (kNoWindow when a link is missing).
  WindowHandle FindServerWindow(WindowHandle parent);
  WindowHandle Server() const { return server_; }

  bool AcquireDocument();
  void ReleaseDocument();
  bool HasDocument() const { return document_ != nullptr; }
  // The body is asked for on first use after each AcquireDocument.
  bool HasBody() { return Body() != nullptr; }

  // Turning keeping off lets go of every kept document.
  void KeepDocuments(bool keep);
  void ForgetUnusedDocuments();
  std::size_t KeptDocuments() const { return kept_.size(); }

  bool IsComplete();
  // Failed when there is no body or the read fails; lossy when the ANSI code
  // page could not hold the text (html/text then hold default characters).
  TextRead GetInnerHtml(std::string& html);
  TextRead GetInnerText(std::string& text);
  // False when there is no body or the write fails.
  bool SetInnerHtml(const std::string& html);
  bool SetInnerText(const std::string& text);
  // Leaves title unchanged when there is no document or the read fails.
  void GetTitle(std::string& title);
  void SetTitle(const std::string& title);
  void AddStyleSheet(const std::wstring& path);

private:
  struct KeptDocument {
    WindowHandle server;
    std::unique_ptr<HtmlDocument> document;
    bool used;
  };

  HtmlElement* Body();
  // One read of the body; a failed read marks the document as not to keep.
  TextRead ReadBody(TextRead (HtmlElement::*read)(std::string&), std::string& text);

  AccessibilityLibrary& library_;
  WindowSystem& windows_;
  std::unique_ptr<HtmlElement> body_;
  std::unique_ptr<HtmlDocument> document_;
  WindowHandle server_ = kNoWindow;
  // The server window document_ came from, and whether it may be kept.
  WindowHandle documentServer_ = kNoWindow;
  bool documentFailed_ = false;
  bool bodyAsked_ = false;
  bool keep_ = false;
  std::vector<KeptDocument> kept_;
};

// The document of the current server window for as long as the lease lives:
// acquired when it is made and released on every way out of its scope.
class DocumentLease {
public:
  explicit DocumentLease(DocumentAccess& access) : access_(access), acquired_(access.AcquireDocument()) {}
  ~DocumentLease() { access_.ReleaseDocument(); }
  DocumentLease(const DocumentLease&) = delete;
  DocumentLease& operator=(const DocumentLease&) = delete;

  bool Acquired() const { return acquired_; }

private:
  DocumentAccess& access_;
  bool acquired_;
};
