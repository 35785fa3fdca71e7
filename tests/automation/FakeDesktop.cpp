#include "FakeDesktop.h"

#include <algorithm>
#include <cstring>

#include "base/Product.h"

namespace {

const char* KeyName(unsigned char virtualKey) {
  switch (virtualKey) {
    case 0x11:
      return "Ctrl";
    case 0x23:
      return "End";
    case 0x24:
      return "Home";
    case 0x26:
      return "Up";
    case 0x20:
      return "Space";
    case 0x41:
      return "A";
    case 0x43:
      return "C";
    case 0x56:
      return "V";
    default:
      return "?";
  }
}

class FakeElement : public HtmlElement {
public:
  FakeElement(std::shared_ptr<FakeDocState> state, std::vector<std::string>& events)
      : state_(std::move(state)), events_(events) {
    ++state_->liveReferences;
  }
  ~FakeElement() override { --state_->liveReferences; }
  TextRead GetInnerHtml(std::string& html) override {
    events_.push_back("get_innerHTML");
    if (state_->htmlFails) return TextRead::kFailed;
    html = state_->innerHtml;
    return state_->htmlLossy ? TextRead::kLossy : TextRead::kOk;
  }
  TextRead GetInnerText(std::string& text) override {
    events_.push_back("get_innerText");
    if (state_->textFails) return TextRead::kFailed;
    text = state_->innerText;
    return state_->textLossy ? TextRead::kLossy : TextRead::kOk;
  }
  bool PutInnerHtml(const std::string& html) override {
    events_.push_back("put_innerHTML");
    state_->innerHtml = html;
    ++state_->putHtmlCount;
    return true;
  }
  bool PutInnerText(const std::string& text) override {
    events_.push_back("put_innerText");
    if (state_->putTextFails) return false;
    state_->innerText = text;
    ++state_->putTextCount;
    return true;
  }

private:
  std::shared_ptr<FakeDocState> state_;
  std::vector<std::string>& events_;
};

class FakeDocument : public HtmlDocument {
public:
  FakeDocument(std::shared_ptr<FakeDocState> state, std::vector<std::string>& events)
      : state_(std::move(state)), events_(events) {
    ++state_->liveReferences;
  }
  ~FakeDocument() override { --state_->liveReferences; }
  std::unique_ptr<HtmlElement> GetBody() override {
    events_.push_back("get_body");
    if (!state_->hasBody) return nullptr;
    return std::unique_ptr<HtmlElement>(new FakeElement(state_, events_));
  }
  bool GetReadyState(std::string& state) override {
    events_.push_back("get_readyState");
    if (state_->disconnected) return false;
    state = state_->readyState;
    return true;
  }
  TextRead GetTitle(std::string& title) override {
    events_.push_back("get_title");
    if (state_->disconnected) return TextRead::kFailed;
    title = state_->title;
    return TextRead::kOk;
  }
  bool PutTitle(const std::string& title) override {
    events_.push_back("put_title " + title);
    state_->title = title;
    return true;
  }
  bool CreateStyleSheet(const std::wstring& path) override {
    events_.push_back("createStyleSheet");
    state_->styleSheets.push_back(path);
    return true;
  }

private:
  std::shared_ptr<FakeDocState> state_;
  std::vector<std::string>& events_;
};

}  // namespace

FakeDesktop::FakeDesktop() = default;
FakeDesktop::~FakeDesktop() = default;

// ---- windows

WindowHandle FakeDesktop::AddWindow(WindowHandle parent, const std::string& className, const std::string& title) {
  FakeWindow window;
  window.handle = nextHandle_;
  nextHandle_ += 0x10;
  window.className = className;
  window.title = title;
  window.parent = parent;
  windows_[window.handle] = window;
  // New windows open in front of the others.
  if (parent == 0) zOrder_.insert(zOrder_.begin(), window.handle);
  return window.handle;
}

WindowHandle FakeDesktop::AddServerChain(WindowHandle parent) {
  const WindowHandle host = AddWindow(parent, kClientDocHostClass);
  const WindowHandle mime = AddWindow(host, kClientMimeEditClass);
  const WindowHandle server = AddWindow(mime, kClientDocumentServerClass);
  documents_[server] = std::make_shared<FakeDocState>();
  return server;
}

WindowHandle FakeDesktop::AddMainWindow(bool withMessageView) {
  mainWindow = AddWindow(0, kClientBrowserClass, "Outlook Express");
  if (withMessageView) {
    messageView = AddWindow(mainWindow, kClientMessageViewClass);
    AddServerChain(messageView);
  }
  return mainWindow;
}

WindowHandle FakeDesktop::AddNoteWindow(const std::string& title, bool composition, const std::string& body,
                                        bool withServer) {
  const WindowHandle note = AddWindow(0, kClientNoteClass, title);
  if (composition) {
    const WindowHandle envelope = AddWindow(note, "OE_Envelope");
    AddWindow(envelope, "ComboBox");
  }
  windows_[note].body = body;
  if (withServer) {
    const WindowHandle server = AddServerChain(note);
    documents_[server]->innerText = body;
  }
  return note;
}

void FakeDesktop::CloseWindow(WindowHandle window) {
  auto found = windows_.find(window);
  if (found == windows_.end()) return;
  found->second.alive = false;
  for (auto& entry : windows_)
    if (entry.second.parent == window) CloseWindow(entry.first);
  if (foreground == window) foreground = 0;
}

void FakeDesktop::ReuseWindow(WindowHandle window, const std::string& title) {
  windows_.at(window).alive = true;
  windows_.at(window).title = title;
  for (auto& entry : windows_)
    if (entry.second.parent == window) ReuseWindow(entry.first, entry.second.title);
}

WindowHandle FakeDesktop::ServerOf(WindowHandle parent) {
  for (const char* cls : {kClientDocHostClass, kClientMimeEditClass, kClientDocumentServerClass}) {
    WindowHandle child = 0;
    for (auto& entry : windows_)
      if (entry.second.parent == parent && entry.second.className == cls) {
        child = entry.first;
        break;
      }
    parent = child;
  }
  return parent;
}

int FakeDesktop::CaretLine(WindowHandle window) {
  const FakeWindow& note = windows_.at(window);
  return static_cast<int>(std::count(note.body.begin(), note.body.begin() + static_cast<long>(note.caret), '\n'));
}

WindowHandle FakeDesktop::FindTopLevel(const char* className) {
  for (WindowHandle w : zOrder_) {
    const FakeWindow& window = windows_[w];
    if (window.alive && window.className == className) return w;
  }
  return 0;
}

WindowHandle FakeDesktop::FindChild(WindowHandle parent, WindowHandle after, const char* className) {
  std::vector<WindowHandle> candidates;
  if (parent == 0) {
    candidates = zOrder_;
  } else {
    for (auto& entry : windows_)
      if (entry.second.parent == parent) candidates.push_back(entry.first);
  }
  auto it = candidates.begin();
  if (after != 0) {
    // FindWindowEx fails when the window to continue after has been destroyed.
    if (!Exists(after)) return 0;
    it = std::find(candidates.begin(), candidates.end(), after);
    if (it == candidates.end()) return 0;
    ++it;
  }
  for (; it != candidates.end(); ++it) {
    const FakeWindow& window = windows_[*it];
    if (window.alive && window.className == className) return *it;
  }
  return 0;
}

std::string FakeDesktop::GetTitle(WindowHandle window) {
  auto found = windows_.find(window);
  if (found == windows_.end() || !found->second.alive) return std::string();
  return found->second.title.substr(0, 127);
}

bool FakeDesktop::Exists(WindowHandle window) {
  auto found = windows_.find(window);
  return found != windows_.end() && found->second.alive;
}

// ---- focus and keys

void FakeDesktop::SetFocus(WindowHandle) {
  events.push_back("SetFocus");
}

void FakeDesktop::SetActiveWindow(WindowHandle) {
  events.push_back("SetActiveWindow");
}

void FakeDesktop::SetForegroundWindow(WindowHandle window) {
  events.push_back("SetForegroundWindow");
  if (onSetForeground) onSetForeground(window);
  if (foregroundLocked || !Exists(window)) return;
  if (foregroundLatency > 0) {
    pendingForeground = window;
    pendingForegroundAt = now + foregroundLatency;
    return;
  }
  foreground = window;
  // The window comes to the front of the z-order, as it does on the desktop.
  zOrder_.erase(std::find(zOrder_.begin(), zOrder_.end(), window));
  zOrder_.insert(zOrder_.begin(), window);
}

WindowHandle FakeDesktop::GetForegroundWindow() {
  events.push_back("GetForegroundWindow");
  if (pendingForeground != 0 && now >= pendingForegroundAt) {
    foreground = pendingForeground;
    pendingForeground = 0;
  }
  return foreground;
}

void FakeDesktop::KeyEvent(unsigned char virtualKey, unsigned char scanCode, bool up) {
  events.push_back(std::string("key ") + KeyName(virtualKey) + (up ? " up" : " down"));
  scanCodes.emplace_back(virtualKey, scanCode);
  if (virtualKey == 0x11) {
    controlDown_ = !up;
    return;
  }
  if (up) return;
  if (foreground == 0 || !Exists(foreground) || windows_[foreground].className != kClientNoteClass) {
    ++lostKeys;
    return;
  }
  ClientKey(windows_[foreground], virtualKey);
}

void FakeDesktop::ClientPutOnClipboard(unsigned format, const std::string& bytes) {
  auto found = std::find_if(clipboard.begin(), clipboard.end(),
                            [format](const std::pair<unsigned, std::string>& item) { return item.first == format; });
  if (found != clipboard.end())
    found->second = bytes;
  else
    clipboard.emplace_back(format, bytes);
}

void FakeDesktop::ClientKey(FakeWindow& note, unsigned char virtualKey) {
  std::string& body = note.body;
  const bool clipboardFree = !heldByOther && !openByUs;
  if (controlDown_) {
    switch (virtualKey) {
      case 0x23:
        note.caret = body.size();
        note.allSelected = false;
        break;
      case 0x24:
        note.caret = 0;
        note.allSelected = false;
        break;
      case 0x41:
        note.allSelected = true;
        break;
      case 0x43:
        if (!note.servesCopy || !clipboardFree) {
          events.push_back("client: copy failed");
          break;
        }
        events.push_back("client: copy");
        clipboard.clear();
        ClientPutOnClipboard(1, (note.allSelected && !note.copiesEmpty ? body : std::string()) + '\0');
        if (!note.htmlCopy.empty()) ClientPutOnClipboard(kFakeHtmlFormat, note.htmlCopy + '\0');
        break;
      case 0x56: {
        if (!clipboardFree) {
          events.push_back("client: paste failed");
          break;
        }
        events.push_back("client: paste");
        std::string text;
        for (const auto& item : clipboard)
          if (item.first == 1) text.assign(item.second.c_str());
        if (note.allSelected) {
          body = text;
          note.caret = body.size();
        } else {
          body.insert(note.caret, text);
          note.caret += text.size();
        }
        note.allSelected = false;
        break;
      }
      default:
        break;
    }
    return;
  }
  switch (virtualKey) {
    case 0x20:
      if (note.allSelected) {
        body = " ";
        note.caret = 1;
      } else {
        body.insert(note.caret, " ");
        ++note.caret;
      }
      note.allSelected = false;
      break;
    case 0x26: {
      if (note.allSelected) {
        note.allSelected = false;
        note.caret = 0;
        break;
      }
      const std::size_t lineStart = note.caret == 0 ? 0 : body.rfind('\n', note.caret - 1);
      if (lineStart == std::string::npos || note.caret == 0) {
        note.caret = 0;
        break;
      }
      const std::size_t previous = lineStart == 0 ? std::string::npos : body.rfind('\n', lineStart - 1);
      note.caret = previous == std::string::npos ? 0 : previous + 1;
      break;
    }
    default:
      break;
  }
}

// ---- clipboard

std::string FakeDesktop::ClipboardText() const {
  for (const auto& item : clipboard)
    if (item.first == 1) return std::string(item.second.c_str());
  return "<none>";
}

bool FakeDesktop::Open() {
  ++openAttempts;
  if (heldByOther || openByUs || openFailuresLeft > 0) {
    if (openFailuresLeft > 0) --openFailuresLeft;
    events.push_back("OpenClipboard failed");
    return false;
  }
  events.push_back("OpenClipboard");
  openByUs = true;
  return true;
}

void FakeDesktop::Close() {
  events.push_back(openByUs ? "CloseClipboard" : "CloseClipboard (not open)");
  openByUs = false;
}

bool FakeDesktop::Empty() {
  events.push_back("EmptyClipboard");
  if (!openByUs || emptyFails) return false;
  clipboard.clear();
  return true;
}

unsigned FakeDesktop::EnumFormats(unsigned previous) {
  if (!openByUs) return 0;
  auto it = clipboard.begin();
  if (previous != 0) {
    it = std::find_if(clipboard.begin(), clipboard.end(),
                      [previous](const std::pair<unsigned, std::string>& item) { return item.first == previous; });
    if (it == clipboard.end()) return 0;
    ++it;
  }
  return it == clipboard.end() ? 0 : it->first;
}

bool FakeDesktop::GetFormatName(unsigned format, std::string& name) {
  if (format == kFakeHtmlFormat)
    name = "HTML Format";
  else if (format == kFakeRtfFormat)
    name = "Rich Text Format";
  else
    return false;
  return true;
}

bool FakeDesktop::GetData(unsigned format, std::string& bytes) {
  events.push_back("GetClipboardData " + std::to_string(format));
  if (!openByUs || getDataFails.count(format) != 0) return false;
  for (const auto& item : clipboard)
    if (item.first == format) {
      bytes = item.second;
      return true;
    }
  return false;
}

MemoryHandle FakeDesktop::Alloc(std::size_t size) {
  if (allocFails) return 0;
  const MemoryHandle block = nextBlock_++;
  liveBlocks[block] = std::string(size, '\xCD');
  return block;
}

bool FakeDesktop::Fill(MemoryHandle block, const char* data, std::size_t size) {
  if (lockFails || liveBlocks.count(block) == 0) return false;
  liveBlocks[block].assign(data, size);
  return true;
}

void FakeDesktop::Free(MemoryHandle block) {
  if (liveBlocks.erase(block) == 0) ++badFrees;
}

bool FakeDesktop::SetData(unsigned format, MemoryHandle block) {
  events.push_back("SetClipboardData " + std::to_string(format));
  if (setDataFailuresLeft > 0) {
    --setDataFailuresLeft;
    return false;
  }
  if (!openByUs || setDataFails || liveBlocks.count(block) == 0) return false;
  ClientPutOnClipboard(format, liveBlocks[block]);
  liveBlocks.erase(block);
  return true;
}

// ---- clock, boxes

void FakeDesktop::Sleep(std::uint32_t milliseconds) {
  events.push_back("sleep " + std::to_string(milliseconds));
  now += milliseconds;
  sleptTotal += milliseconds;
}

std::uint32_t FakeDesktop::Milliseconds() {
  const std::uint32_t value = now;
  now += readStep;
  return value;
}

void FakeDesktop::ShowWarning(const std::string& caption, const std::string& text) {
  events.push_back("box");
  boxes.push_back(caption + "|" + text);
  if (onBox) onBox();
}

// ---- accessibility

void FakeDesktop::InitializeCom() {
  events.push_back("CoInitialize");
  ++comInitialized;
}

void FakeDesktop::UninitializeCom() {
  events.push_back("CoUninitialize");
  --comInitialized;
}

bool FakeDesktop::LoadLibrary() {
  events.push_back("LoadLibrary");
  if (!libraryPresent) return false;
  ++libraryLoaded;
  return true;
}

bool FakeDesktop::FindObjectFromLresult() {
  events.push_back("GetProcAddress");
  return functionPresent;
}

void FakeDesktop::FreeLibrary() {
  events.push_back("FreeLibrary");
  --libraryLoaded;
}

unsigned FakeDesktop::RegisterMessage(const char* name) {
  return std::strcmp(name, "WM_HTML_GETOBJECT") == 0 ? messageId_ : 0;
}

bool FakeDesktop::SendMessageTimeout(WindowHandle window, unsigned message, unsigned timeoutMs, std::intptr_t& result) {
  events.push_back("SendMessageTimeout " + std::to_string(timeoutMs));
  auto found = documents_.find(window);
  if (message != messageId_ || !Exists(window) || found == documents_.end()) return false;
  if (found->second->hung) {
    now += timeoutMs;
    return false;
  }
  result = static_cast<std::intptr_t>(window);
  return true;
}

std::unique_ptr<HtmlDocument> FakeDesktop::ObjectFromLresult(std::intptr_t result) {
  events.push_back("ObjectFromLresult");
  auto found = documents_.find(static_cast<WindowHandle>(result));
  if (found == documents_.end()) return nullptr;
  return std::unique_ptr<HtmlDocument>(new FakeDocument(found->second, events));
}

// ---- texts, host

const char* FakeDesktop::GetText(const char* key) {
  auto found = texts.find(key);
  return found == texts.end() ? nullptr : found->second.c_str();
}

void FakeDesktop::ValidateWrapColumn() {
  events.push_back("ValidateWrapColumn");
  ++validateCalls;
}

void FakeDesktop::Terminate() {
  events.push_back("Terminate");
  ++terminateCalls;
  if (onTerminate) onTerminate();
}

std::vector<std::string> FakeDesktop::EventsLike(const std::string& prefix, std::size_t from) const {
  std::vector<std::string> found;
  for (std::size_t i = from; i < events.size(); ++i)
    if (events[i].compare(0, prefix.size(), prefix) == 0) found.push_back(events[i]);
  return found;
}

std::size_t FakeDesktop::CountEvents(const std::string& event) const {
  return static_cast<std::size_t>(std::count(events.begin(), events.end(), event));
}
