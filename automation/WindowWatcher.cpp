#include "automation/WindowWatcher.h"

#include <algorithm>
#include <utility>

#include "base/Product.h"

namespace {

// FindWindowEx hands out each top-level window once; the bound only guards
// against a desktop that keeps changing under the walk.
const std::size_t kMaxNoteWindows = 4096;

}  // namespace

WindowWatcher::WindowWatcher(const Settings& settings, StatusLog& log, TextLookup& texts,
                             const AutomationPlatform& platform, WatcherHost& host, const std::wstring& directory,
                             const char* styleSheetFile, ReformatFunction reformat)
    : settings_(settings),
      log_(log),
      platform_(platform),
      host_(host),
      styleCount_(ReadStyleCount(styleSheetFile, platform.boxes)),
      library_(platform.accessibility, settings, texts, platform.boxes),
      notes_(library_, platform.windows),
      views_(library_, platform.windows),
      styleSheetPath_(StyleSheetPathIn(directory)),
      colouring_{settings, platform.clock, styleCount_, styleSheetPath_},
      processor_(settings, platform_, notes_, colouring_, std::move(reformat)) {}

WindowWatcher::~WindowWatcher() = default;

WindowHandle WindowWatcher::FindOutlookExpress(WindowSystem& windows) {
  const WindowHandle browser = windows.FindTopLevel(kClientBrowserClass);
  return browser != kNoWindow ? browser : windows.FindTopLevel(kClientNewsStoreClass);
}

bool WindowWatcher::IsCompositionWindow(WindowSystem& windows, WindowHandle window) {
  const WindowHandle envelope = windows.FindChild(window, kNoWindow, "OE_Envelope");
  return envelope != kNoWindow && windows.FindChild(envelope, kNoWindow, "ComboBox") != kNoWindow;
}

int WindowWatcher::ScanWindows() {
  if (disabled_ || busy_) return 0;
  WindowSystem& windows = platform_.windows;
  const WindowHandle main = FindOutlookExpress(windows);
  if (main == kNoWindow) {
    if (settings_.dependOnOE) {
      // The program is ending; ticks that arrive meanwhile stay turned away.
      busy_ = true;
      host_.Terminate();
    }
    return 0;
  }
  busy_ = true;
  host_.ValidateWrapColumn();

  for (CompositionWindow& record : records_) record.seen = false;
  // A window showing a received message is looked at on every tick; its
  // document is kept between ticks unless compatibility mode asks for it anew.
  notes_.KeepDocuments(!settings_.compatibilityMode);

  // Handling a window takes time and moves it to the front: walk a snapshot
  // taken before any of them is touched.
  std::vector<WindowHandle> notes;
  for (WindowHandle w = windows.FindChild(kNoWindow, kNoWindow, kClientNoteClass);
       w != kNoWindow && notes.size() < kMaxNoteWindows; w = windows.FindChild(kNoWindow, w, kClientNoteClass))
    notes.push_back(w);
  for (WindowHandle window : notes) {
    if (windows.Exists(window)) HandleNoteWindow(window);
  }

  records_.erase(
      std::remove_if(records_.begin(), records_.end(), [](const CompositionWindow& record) { return !record.seen; }),
      records_.end());
  notes_.ForgetUnusedDocuments();

  if (settings_.coloring || settings_.reformatHtml) ColourMessageView(main);
  busy_ = false;
  return 0;
}

void WindowWatcher::HandleNoteWindow(WindowHandle window) {
  auto found = std::find_if(records_.begin(), records_.end(),
                            [window](const CompositionWindow& record) { return record.window == window; });
  if (found != records_.end()) found->seen = true;
  const std::string title = platform_.windows.GetTitle(window).substr(0, 127);

  bool titleChanged = false;
  if (found != records_.end() && !found->titleChanged && found->title != title) {
    records_.erase(found);
    found = records_.end();
    titleChanged = true;
  }
  const bool due =
      titleChanged || (found == records_.end() && !title.empty()) || (found != records_.end() && !found->isComposition);
  if (!due) return;

  CompositionWindow record{window, true, title, titleChanged, false};
  std::string status;
  if (IsCompositionWindow(platform_.windows, window)) {
    record.isComposition = true;
    if (!processor_.HandleCompositionWindow(window, title, status)) return;
  } else {
    if (!settings_.coloring && !settings_.reformatHtml) return;
    if (notes_.FindServerWindow(window) == kNoWindow) return;
    if (ColourDocument(notes_, ColourMode::view, colouring_) != 0) return;
    status = "processed (c)";
  }
  log_.Add(title, status);
  records_.push_back(record);
}

void WindowWatcher::ColourMessageView(WindowHandle main) {
  const WindowHandle view = platform_.windows.FindChild(main, kNoWindow, kClientMessageViewClass);
  if (view == kNoWindow) return;
  const WindowHandle server = views_.FindServerWindow(view);
  if (server == kNoWindow) return;
  if (server == lastColouredView_ && !settings_.compatibilityMode) return;
  bool acquired = false;
  const int result = ColourDocument(views_, ColourMode::view, colouring_, &acquired);
  // A view whose document could not be reached is offered again.
  if (result != -1 && acquired) lastColouredView_ = server;
}
