#include "automation/CompositionProcessing.h"

#include <cstdio>
#include <utility>

#include "automation/HtmlQuotes.h"
#include "base/Product.h"
#include "automation/Keystrokes.h"
#include "engine/ReplyFormatter.h"

namespace {

const char kLatencyFormat[] =
    "A latency error (%s) occurred.\nThe message was not processed.\nTry increasing the delay settings in advanced "
    "options!";

}  // namespace

const char* ReplyStatusText(int result) {
  switch (result) {
    case kProcessDone:
      return "processed (q)";
    case kProcessLeftAlone:
      return "skipped (quoted)";
    case kProcessPutError:
      return "put error";
    case kProcessGetError:
      return "get error";
    case kProcessDoneDeeper:
      return "processed (q-qp)";
    case kProcessSkippedHtml:
      return "skipped (HTML)";
    default:
      return "";
  }
}

int RunReplyEngine(const Settings& settings, std::string& body, int& cursorLines) {
  ReplyFormatter formatter(settings);
  return formatter.ReformatReply(body, cursorLines);
}

CompositionProcessor::CompositionProcessor(const Settings& settings, const AutomationPlatform& platform,
                                           DocumentAccess& notes, const ColourContext& colouring,
                                           ReformatFunction reformat)
    : settings_(settings), platform_(platform), notes_(notes), colouring_(colouring), reformat_(std::move(reformat)) {}

std::uint32_t CompositionProcessor::Delay(int32_t milliseconds) const {
  return milliseconds > 0 ? static_cast<std::uint32_t>(milliseconds) : 0u;
}

bool CompositionProcessor::HandleCompositionWindow(WindowHandle window, const std::string& title, std::string& status) {
  if (title.compare(0, 4, "Re: ") == 0) {
    const int result = ProcessWindow(window, ProcessMode::reply);
    if (result == kProcessNotReady) return false;
    status = ReplyStatusText(result);
    if ((result == kProcessPutError || result == kProcessGetError) && settings_.displayWarningsOnErrors) {
      char text[sizeof kLatencyFormat + 16];
      std::snprintf(text, sizeof text, kLatencyFormat, status.c_str());
      platform_.boxes.ShowWarning(kProductErrorCaption, text);
    }
    return true;
  }
  if (!settings_.isoSignatureFix) {
    status = "skipped (no Re)";
  } else if (settings_.useClipboard) {
    status = "skipped (clipboard unsupported)";
  } else {
    // A document that is not ready yet is fixed on a later tick rather than
    // recorded as done.
    if (ProcessWindow(window, ProcessMode::signature) == kProcessNotReady) return false;
    status = "processed (sig)";
  }
  return true;
}

int CompositionProcessor::ProcessWindow(WindowHandle window, ProcessMode mode) {
  platform_.clock.Sleep(Delay(settings_.compositionInitDelay));
  return settings_.useClipboard ? ProcessWithClipboard(window, mode) : ProcessWithDocument(window, mode);
}

int CompositionProcessor::Transform(ProcessMode mode, std::string& body, int& cursorLines, bool& changed) {
  if (mode == ProcessMode::signature) {
    changed = ApplySignatureFix(body);
    return kProcessDone;
  }
  const int result = reformat_(settings_, body, cursorLines);
  changed = result == kProcessDone || result == kProcessDoneDeeper;
  return result;
}

void CompositionProcessor::PressCursorKeys(int cursorLines) {
  if (settings_.cursorAtTop) PressChord(platform_.input, Keys::home);
  for (int i = 0; i < cursorLines; ++i) PressKey(platform_.input, Keys::up);
}

void CompositionProcessor::RestoreClipboard(ClipboardAccess& clipboard, const ClipboardContents& saved) {
  if (clipboard.WaitOpen(settings_.clipboardOpenTimeout)) clipboard.Restore(saved);
}

int CompositionProcessor::FailAfterSelectAll(WindowHandle window, ClipboardAccess& clipboard,
                                             const ClipboardContents& saved, int result) {
  RestoreClipboard(clipboard, saved);
  // The whole body is still selected: collapse the selection so that the
  // user's next key does not replace the reply.
  if (FocusForKeys(platform_.windows, platform_.input, platform_.clock, window)) PressKey(platform_.input, Keys::up);
  return result;
}

int CompositionProcessor::TransformDocument(WindowHandle window, ProcessMode mode, int& cursorLines) {
  DocumentAccess& document = notes_;
  // The client builds the chain of server windows after the note window: a
  // missing link means "not yet".
  if (document.FindServerWindow(window) == kNoWindow) return kProcessNotReady;
  const DocumentLease lease(document);
  if (!lease.Acquired()) return kProcessGetError;
  if (!document.IsComplete()) return kProcessNotReady;
  if (settings_.ignoreHtmlMessages) {
    std::string html;
    document.GetInnerHtml(html);
    if (IsQuotedHtml(html)) return kProcessSkippedHtml;
  }
  std::string body;
  const TextRead read = document.GetInnerText(body);
  // A new message without text has no separator to fix.
  if (body.empty() || read == TextRead::kFailed)
    return mode == ProcessMode::signature ? kProcessDone : kProcessNotReady;

  int result = kProcessLeftAlone;
  bool changed = false;
  // Text with characters the ANSI code page lost is left alone, as the
  // engine leaves a body it does not handle.
  if (read == TextRead::kOk) result = Transform(mode, body, cursorLines, changed);

  if (changed && !document.SetInnerText(body) && mode == ProcessMode::reply) result = kProcessPutError;
  if (settings_.colorComposition && document.FindServerWindow(window) != kNoWindow)
    ColourDocument(document, ColourMode::composition, colouring_);
  return result;
}

int CompositionProcessor::ProcessWithClipboard(WindowHandle window, ProcessMode mode) {
  InputApi& input = platform_.input;
  ClipboardAccess clipboard(platform_.clipboard, platform_.clock);
  ClipboardContents saved;

  // Save the user's clipboard whole and empty it, so that a copy the client
  // never serves cannot be mistaken for the body.
  if (!clipboard.WaitOpen(settings_.clipboardOpenTimeout)) return kProcessGetError;
  if (!clipboard.SaveAndEmpty(saved)) {
    RestoreClipboard(clipboard, saved);
    return kProcessGetError;
  }

  if (!FocusForKeys(platform_.windows, input, platform_.clock, window)) {
    RestoreClipboard(clipboard, saved);
    return kProcessGetError;
  }
  PressChord(input, Keys::end);
  PressKey(input, Keys::space);
  PressChord(input, Keys::a);
  PressChord(input, Keys::c);
  platform_.clock.Sleep(Delay(settings_.oeReactionDelay));

  if (!clipboard.WaitOpen(settings_.clipboardOpenTimeout))
    return FailAfterSelectAll(window, clipboard, saved, kProcessGetError);
  if (settings_.ignoreHtmlMessages) {
    const int html = clipboard.FindHtmlFormat();
    if (html == 1) return FailAfterSelectAll(window, clipboard, saved, kProcessGetError);
    if (html == 0 && IsQuotedHtml(clipboard.Data()))
      return FailAfterSelectAll(window, clipboard, saved, kProcessSkippedHtml);
  }
  std::string body;
  // An empty copy is an error here: retrying would type one more blank into
  // the reply on every tick.
  if (!clipboard.ReadText(body) || body.empty()) return FailAfterSelectAll(window, clipboard, saved, kProcessGetError);

  int cursorLines = 0;
  bool changed = false;
  const int result = Transform(mode, body, cursorLines, changed);

  if (clipboard.Write(body) != kClipboardWritten) return FailAfterSelectAll(window, clipboard, saved, kProcessPutError);
  if (!FocusForKeys(platform_.windows, input, platform_.clock, window)) {
    RestoreClipboard(clipboard, saved);
    return kProcessPutError;
  }
  PressChord(input, Keys::v);
  if (mode == ProcessMode::reply) PressCursorKeys(cursorLines);

  platform_.clock.Sleep(Delay(settings_.oeReactionDelay));
  RestoreClipboard(clipboard, saved);
  return result;
}

int CompositionProcessor::ProcessWithDocument(WindowHandle window, ProcessMode mode) {
  int cursorLines = 0;
  const int result = TransformDocument(window, mode, cursorLines);
  if (result != kProcessDone && result != kProcessDoneDeeper) return result;
  if (mode == ProcessMode::signature) {
    FocusWindow(platform_.input, window);
    return result;
  }
  if (FocusForKeys(platform_.windows, platform_.input, platform_.clock, window)) PressCursorKeys(cursorLines);
  return result;
}
