// One composition window: decide what it is, move its body out, through the
// engine and back in, place the cursor, and name the outcome.
#pragma once

#include <functional>
#include <string>

#include "automation/AutomationPlatform.h"
#include "automation/ClipboardAccess.h"
#include "automation/ColourDocument.h"
#include "automation/DocumentAccess.h"
#include "engine/Settings.h"

enum class ProcessMode { reply, signature };

enum ProcessResult : int {
  kProcessNotReady = -1,
  kProcessDone = 0,
  kProcessLeftAlone = 1,
  kProcessPutError = 2,
  kProcessGetError = 3,
  kProcessDoneDeeper = 4,
  kProcessSkippedHtml = 6
};

// The status text of a reply's result; empty for -1 (no row).
const char* ReplyStatusText(int result);

// Runs the reply engine on a body: a fresh ReplyFormatter, ReformatReply,
// its result.
int RunReplyEngine(const Settings& settings, std::string& body, int& cursorLines);
using ReformatFunction = std::function<int(const Settings& settings, std::string& body, int& cursorLines)>;

class CompositionProcessor {
public:
  CompositionProcessor(const Settings& settings, const AutomationPlatform& platform, DocumentAccess& notes,
                       const ColourContext& colouring, ReformatFunction reformat = RunReplyEngine);

  // False means "no status": no row, the window is tried again next tick.
  bool HandleCompositionWindow(WindowHandle window, const std::string& title, std::string& status);
  int ProcessWindow(WindowHandle window, ProcessMode mode);

private:
  int ProcessWithClipboard(WindowHandle window, ProcessMode mode);
  int ProcessWithDocument(WindowHandle window, ProcessMode mode);
  // The document half of ProcessWithDocument: reads, transforms and writes
  // the body and colours it, with the document released on every way out.
  int TransformDocument(WindowHandle window, ProcessMode mode, int& cursorLines);
  int Transform(ProcessMode mode, std::string& body, int& cursorLines, bool& changed);
  void PressCursorKeys(int cursorLines);
  void RestoreClipboard(ClipboardAccess& clipboard, const ClipboardContents& saved);
  int FailAfterSelectAll(WindowHandle window, ClipboardAccess& clipboard, const ClipboardContents& saved, int result);
  std::uint32_t Delay(int32_t milliseconds) const;

  const Settings& settings_;
  AutomationPlatform platform_;
  DocumentAccess& notes_;
  const ColourContext& colouring_;
  ReformatFunction reformat_;
};
