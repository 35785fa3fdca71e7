// The timer-driven watch of the client's note windows and message view.
#pragma once

#include <string>
#include <vector>

#include "automation/AutomationPlatform.h"
#include "automation/ColourDocument.h"
#include "automation/CompositionProcessing.h"
#include "automation/DocumentAccess.h"
#include "automation/StatusLog.h"
#include "engine/Settings.h"

// A note window that has been dealt with.
struct CompositionWindow {
  WindowHandle window;
  bool seen;
  std::string title;  // at most 127 characters, as read when the record was made
  bool titleChanged;
  bool isComposition;
};

class WindowWatcher {
public:
  // Reads the style count from styleSheetFile and loads the accessibility
  // library.  Coloured documents are given the style sheet in `directory`;
  // the program reads the count from that same file, by its name relative to
  // the current directory, which is `directory`.  (Tests read it elsewhere.)
  WindowWatcher(const Settings& settings, StatusLog& log, TextLookup& texts, const AutomationPlatform& platform,
                WatcherHost& host, const std::wstring& directory, const char* styleSheetFile = kStyleSheetName,
                ReformatFunction reformat = RunReplyEngine);
  ~WindowWatcher();
  WindowWatcher(const WindowWatcher&) = delete;
  WindowWatcher& operator=(const WindowWatcher&) = delete;

  // One tick of the watch timer.
  void OnTimer() { ScanWindows(); }
  int ScanWindows();

  void SetDisabled(bool disabled) { disabled_ = disabled; }
  bool IsDisabled() const { return disabled_; }
  bool IsBusy() const { return busy_; }

  int StyleCount() const { return styleCount_; }
  const std::wstring& StyleSheetPath() const { return styleSheetPath_; }
  const std::vector<CompositionWindow>& Records() const { return records_; }
  WindowHandle LastColouredView() const { return lastColouredView_; }

  // The main window of Outlook Express, or kNoWindow.
  static WindowHandle FindOutlookExpress(WindowSystem& windows);
  static bool IsCompositionWindow(WindowSystem& windows, WindowHandle window);

private:
  void HandleNoteWindow(WindowHandle window);
  void ColourMessageView(WindowHandle main);

  const Settings& settings_;
  StatusLog& log_;
  AutomationPlatform platform_;
  WatcherHost& host_;
  bool disabled_ = false;
  bool busy_ = false;
  int styleCount_;
  AccessibilityLibrary library_;
  DocumentAccess notes_;
  DocumentAccess views_;
  std::wstring styleSheetPath_;
  ColourContext colouring_;
  CompositionProcessor processor_;
  std::vector<CompositionWindow> records_;
  WindowHandle lastColouredView_ = kNoWindow;
};
