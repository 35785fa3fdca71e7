// A simulated desktop for the automation's tests: windows with a body editor
// that answers the transfer's keys as the mail client does, a clipboard with
// global memory blocks, documents behind server windows, a clock that only
// moves when slept on or read, message boxes and the program around the
// watch.  Every call the code under test makes is written to `events`, in
// order.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "automation/AccessibilityApi.h"
#include "automation/AutomationPlatform.h"
#include "automation/ClipboardApi.h"
#include "automation/DesktopApi.h"
#include "automation/SystemApi.h"

// The state of one document in the client's process.
struct FakeDocState {
  std::string readyState = "complete";
  std::string title;
  std::string innerText;
  std::string innerHtml;
  bool hasBody = true;
  bool hung = false;          // the server window does not answer
  bool disconnected = false;  // calls on documents handed out fail
  bool textFails = false;     // get_innerText fails
  bool htmlFails = false;     // get_innerHTML fails
  bool textLossy = false;     // the text needed default characters
  bool htmlLossy = false;
  bool putTextFails = false;
  std::vector<std::wstring> styleSheets;
  int putTextCount = 0;
  int putHtmlCount = 0;
  int liveReferences = 0;  // documents and elements handed out and not released
};

struct FakeWindow {
  WindowHandle handle = 0;
  std::string className;
  std::string title;
  WindowHandle parent = 0;
  bool alive = true;
  // The body editor of a note window.
  std::string body;
  std::size_t caret = 0;
  bool allSelected = false;
  bool servesCopy = true;    // Ctrl+C puts the selection on the clipboard
  std::string htmlCopy;      // "HTML Format" data the copy adds, if any
  bool copiesEmpty = false;  // the copy puts an empty text on the clipboard
};

constexpr unsigned kFakeHtmlFormat = 0xC0A1;
constexpr unsigned kFakeRtfFormat = 0xC0A2;
constexpr unsigned kFakeUnicodeText = 13;
constexpr unsigned kFakeBitmap = 2;

class FakeDesktop : public WindowSystem,
                    public InputApi,
                    public ClipboardApi,
                    public Clock,
                    public MessageBoxes,
                    public AccessibilityApi,
                    public TextLookup,
                    public WatcherHost {
public:
  FakeDesktop();
  ~FakeDesktop() override;

  AutomationPlatform Platform() { return AutomationPlatform{*this, *this, *this, *this, *this, *this}; }

  // ---- windows
  WindowHandle AddWindow(WindowHandle parent, const std::string& className, const std::string& title = "");
  // "ME_DocHost" > "##MIMEEdit_Server" > "Internet Explorer_Server" below
  // parent, with a document; returns the server window.
  WindowHandle AddServerChain(WindowHandle parent);
  // The client's main window, optionally with its message view.
  WindowHandle AddMainWindow(bool withMessageView = true);
  // A top-level "ATH_NOTE" window; a composition window has the envelope
  // with its combo box.  The body goes to the editor and the document.
  WindowHandle AddNoteWindow(const std::string& title, bool composition, const std::string& body = "",
                             bool withServer = true);
  void CloseWindow(WindowHandle window);
  // A new window that happens to get the handle of a closed one.
  void ReuseWindow(WindowHandle window, const std::string& title);
  FakeWindow& Window(WindowHandle window) { return windows_.at(window); }
  WindowHandle ServerOf(WindowHandle parent);
  FakeDocState& DocumentOf(WindowHandle parent) { return *documents_.at(ServerOf(parent)); }
  WindowHandle messageView = 0;
  WindowHandle mainWindow = 0;
  // The line of the editor's caret (0 = first).
  int CaretLine(WindowHandle window);

  // ---- focus and keys
  WindowHandle foreground = 0;
  bool foregroundLocked = false;  // SetForegroundWindow has no effect
  // SetForegroundWindow takes effect this many milliseconds later, as when
  // the window's own thread takes the activation late.
  std::uint32_t foregroundLatency = 0;
  WindowHandle pendingForeground = 0;
  std::uint32_t pendingForegroundAt = 0;
  std::function<void(WindowHandle)> onSetForeground;
  std::vector<std::pair<unsigned char, unsigned char>> scanCodes;  // (virtual key, scan code) of every event
  int lostKeys = 0;                                                // keys that reached no note window

  // ---- clipboard
  std::vector<std::pair<unsigned, std::string>> clipboard;
  bool heldByOther = false;
  int openFailuresLeft = 0;
  bool openByUs = false;
  int openAttempts = 0;
  std::set<unsigned> getDataFails;
  bool setDataFails = false;
  int setDataFailuresLeft = 0;  // the next n calls fail
  bool allocFails = false;
  bool lockFails = false;
  bool emptyFails = false;
  std::map<MemoryHandle, std::string> liveBlocks;  // allocated and not handed over or freed
  int badFrees = 0;
  void SetClipboard(std::vector<std::pair<unsigned, std::string>> formats) { clipboard = std::move(formats); }
  // CF_TEXT up to its zero, or "<none>".
  std::string ClipboardText() const;

  // ---- clock
  std::uint32_t now = 1000;
  std::uint32_t readStep = 1;  // each Milliseconds() read moves the clock on
  std::uint32_t sleptTotal = 0;

  // ---- message boxes
  std::vector<std::string> boxes;
  std::function<void()> onBox;

  // ---- accessibility
  bool libraryPresent = true;
  bool functionPresent = true;
  int comInitialized = 0;
  int libraryLoaded = 0;
  std::map<WindowHandle, std::shared_ptr<FakeDocState>> documents_;

  // ---- texts and host
  std::map<std::string, std::string> texts;
  int terminateCalls = 0;
  int validateCalls = 0;
  std::function<void()> onTerminate;

  std::vector<std::string> events;
  // Events from index `from` on that start with `prefix`.
  std::vector<std::string> EventsLike(const std::string& prefix, std::size_t from = 0) const;
  std::size_t CountEvents(const std::string& event) const;

  // WindowSystem
  WindowHandle FindTopLevel(const char* className) override;
  WindowHandle FindChild(WindowHandle parent, WindowHandle after, const char* className) override;
  std::string GetTitle(WindowHandle window) override;
  bool Exists(WindowHandle window) override;
  // InputApi
  void SetFocus(WindowHandle window) override;
  void SetActiveWindow(WindowHandle window) override;
  void SetForegroundWindow(WindowHandle window) override;
  WindowHandle GetForegroundWindow() override;
  void KeyEvent(unsigned char virtualKey, unsigned char scanCode, bool up) override;
  // ClipboardApi
  bool Open() override;
  void Close() override;
  bool Empty() override;
  unsigned EnumFormats(unsigned previous) override;
  bool GetFormatName(unsigned format, std::string& name) override;
  bool GetData(unsigned format, std::string& bytes) override;
  MemoryHandle Alloc(std::size_t size) override;
  bool Fill(MemoryHandle block, const char* data, std::size_t size) override;
  void Free(MemoryHandle block) override;
  bool SetData(unsigned format, MemoryHandle block) override;
  // Clock
  void Sleep(std::uint32_t milliseconds) override;
  std::uint32_t Milliseconds() override;
  // MessageBoxes
  void ShowWarning(const std::string& caption, const std::string& text) override;
  // AccessibilityApi
  void InitializeCom() override;
  void UninitializeCom() override;
  bool LoadLibrary() override;
  bool FindObjectFromLresult() override;
  void FreeLibrary() override;
  unsigned RegisterMessage(const char* name) override;
  bool SendMessageTimeout(WindowHandle window, unsigned message, unsigned timeoutMs, std::intptr_t& result) override;
  std::unique_ptr<HtmlDocument> ObjectFromLresult(std::intptr_t result) override;
  // TextLookup
  const char* GetText(const char* key) override;
  // WatcherHost
  void ValidateWrapColumn() override;
  void Terminate() override;

private:
  void ClientKey(FakeWindow& note, unsigned char virtualKey);
  void ClientPutOnClipboard(unsigned format, const std::string& bytes);

  std::map<WindowHandle, FakeWindow> windows_;
  std::vector<WindowHandle> zOrder_;  // top-level windows, front first
  WindowHandle nextHandle_ = 0x100;
  MemoryHandle nextBlock_ = 0x5000;
  bool controlDown_ = false;
  unsigned messageId_ = 0xC123;
};
