#include "automation/DocumentAccess.h"

#include <algorithm>
#include <cstdint>

#include "base/Product.h"

namespace {

const char kMsaaErrorKey[] = "#MSAA Error";
const char kMsaaErrorBuiltIn[] =
    "oleacc.dll could not be loaded!\r\nColoring will not work.\r\nPlease install MS Active Accessibility!";
const char kNoObjectFromLresult[] =
    "oleacc.dll: Pointer to ObjectFromLresult could not be obtained!\nColoring will not work.\n";
const unsigned kGetObjectTimeoutMs = 1000;

}  // namespace

AccessibilityLibrary::AccessibilityLibrary(AccessibilityApi& api, const Settings& settings, TextLookup& texts,
                                           MessageBoxes& boxes)
    : api_(api), settings_(settings), texts_(texts), boxes_(boxes) {}

AccessibilityLibrary::~AccessibilityLibrary() {
  // Every DocumentAccess is gone by now; this only guards against a user that
  // forgot to leave.
  if (users_ > 0) {
    users_ = 1;
    RemoveUser();
  }
}

void AccessibilityLibrary::AddUser() {
  if (users_ == 0) api_.InitializeCom();
  if (!loaded_) {
    loaded_ = api_.LoadLibrary();
    if (!loaded_ && !warningShown_ && settings_.displayWarningsOnErrors) {
      warningShown_ = true;
      const char* text = texts_.GetText(kMsaaErrorKey);
      boxes_.ShowWarning(kProductErrorCaption, text != nullptr && *text != '\0' ? text : kMsaaErrorBuiltIn);
    }
  }
  if (loaded_ && !hasObjectFromLresult_) {
    hasObjectFromLresult_ = api_.FindObjectFromLresult();
    // Each DocumentAccess asks again; one warning per run is enough.
    if (!hasObjectFromLresult_ && !warningShown_) {
      warningShown_ = true;
      boxes_.ShowWarning(kProductErrorCaption, kNoObjectFromLresult);
    }
  }
  messageId_ = api_.RegisterMessage("WM_HTML_GETOBJECT");
  ++users_;
}

void AccessibilityLibrary::RemoveUser() {
  if (users_ <= 0) return;
  if (--users_ == 0) {
    if (loaded_) api_.FreeLibrary();
    loaded_ = false;
    hasObjectFromLresult_ = false;
    api_.UninitializeCom();
  }
}

DocumentAccess::DocumentAccess(AccessibilityLibrary& library, WindowSystem& windows)
    : library_(library), windows_(windows) {
  library_.AddUser();
}

DocumentAccess::~DocumentAccess() {
  ReleaseDocument();
  kept_.clear();  // before COM may be shut down with the last user
  library_.RemoveUser();
}

WindowHandle DocumentAccess::FindServerWindow(WindowHandle parent) {
  server_ = kNoWindow;
  const WindowHandle host = windows_.FindChild(parent, kNoWindow, kClientDocHostClass);
  if (host == kNoWindow) return server_;
  const WindowHandle mime = windows_.FindChild(host, kNoWindow, kClientMimeEditClass);
  if (mime == kNoWindow) return server_;
  server_ = windows_.FindChild(mime, kNoWindow, kClientDocumentServerClass);
  return server_;
}

bool DocumentAccess::AcquireDocument() {
  ReleaseDocument();
  if (!library_.IsLoaded() || server_ == kNoWindow) return false;
  const auto kept =
      std::find_if(kept_.begin(), kept_.end(), [this](const KeptDocument& entry) { return entry.server == server_; });
  if (kept != kept_.end()) {
    document_ = std::move(kept->document);
    kept_.erase(kept);
  } else {
    std::intptr_t result = 0;
    AccessibilityApi& api = library_.Api();
    if (!api.SendMessageTimeout(server_, library_.MessageId(), kGetObjectTimeoutMs, result)) return false;
    if (!library_.HasObjectFromLresult()) return false;
    document_ = api.ObjectFromLresult(result);
    if (document_ == nullptr) return false;
  }
  documentServer_ = server_;
  return true;
}

void DocumentAccess::ReleaseDocument() {
  body_.reset();
  bodyAsked_ = false;
  if (document_ != nullptr && keep_ && !documentFailed_)
    kept_.push_back(KeptDocument{documentServer_, std::move(document_), true});
  document_.reset();
  documentFailed_ = false;
  documentServer_ = kNoWindow;
}

void DocumentAccess::KeepDocuments(bool keep) {
  keep_ = keep;
  if (!keep) kept_.clear();
}

void DocumentAccess::ForgetUnusedDocuments() {
  kept_.erase(std::remove_if(kept_.begin(), kept_.end(), [](const KeptDocument& entry) { return !entry.used; }),
              kept_.end());
  for (KeptDocument& entry : kept_) entry.used = false;
}

HtmlElement* DocumentAccess::Body() {
  if (!bodyAsked_ && document_ != nullptr) {
    bodyAsked_ = true;
    body_ = document_->GetBody();
  }
  return body_.get();
}

bool DocumentAccess::IsComplete() {
  if (document_ == nullptr) return false;
  std::string state;
  if (!document_->GetReadyState(state)) {
    documentFailed_ = true;
    return false;
  }
  return state == "complete";
}

TextRead DocumentAccess::ReadBody(TextRead (HtmlElement::*read)(std::string&), std::string& text) {
  HtmlElement* body = Body();
  if (body == nullptr) return TextRead::kFailed;
  std::string got;
  const TextRead outcome = (body->*read)(got);
  if (outcome == TextRead::kFailed)
    documentFailed_ = true;
  else
    text = std::move(got);
  return outcome;
}

TextRead DocumentAccess::GetInnerHtml(std::string& html) {
  return ReadBody(&HtmlElement::GetInnerHtml, html);
}

TextRead DocumentAccess::GetInnerText(std::string& text) {
  return ReadBody(&HtmlElement::GetInnerText, text);
}

bool DocumentAccess::SetInnerHtml(const std::string& html) {
  HtmlElement* body = Body();
  return body != nullptr && body->PutInnerHtml(html);
}

bool DocumentAccess::SetInnerText(const std::string& text) {
  HtmlElement* body = Body();
  return body != nullptr && body->PutInnerText(text);
}

void DocumentAccess::GetTitle(std::string& title) {
  if (document_ == nullptr) return;
  std::string read;
  if (document_->GetTitle(read) != TextRead::kFailed)
    title = std::move(read);
  else
    documentFailed_ = true;
}

void DocumentAccess::SetTitle(const std::string& title) {
  if (document_ != nullptr) document_->PutTitle(title);
}

void DocumentAccess::AddStyleSheet(const std::wstring& path) {
  if (document_ != nullptr) document_->CreateStyleSheet(path);
}
