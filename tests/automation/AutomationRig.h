// The processing of one composition window wired to a simulated desktop.
#pragma once

#include <memory>
#include <string>

#include "FakeDesktop.h"
#include "automation/ColourDocument.h"
#include "automation/CompositionProcessing.h"
#include "automation/DocumentAccess.h"
#include "engine/Settings.h"

// An engine whose outcome the test decides.
struct ScriptedEngine {
  int result = 0;
  int cursorLines = 0;
  std::string output = "rewritten\nbody";
  int calls = 0;
  std::string input;

  ReformatFunction Function() {
    return [this](const Settings&, std::string& body, int& lines) {
      ++calls;
      input = body;
      if (result == 0 || result == 4) {
        body = output;
        lines = cursorLines;
      }
      return result;
    };
  }
};

struct AutomationRig {
  FakeDesktop desk;
  Settings settings;
  std::wstring styleSheetPath = L"C:\\Kelvane\\styles.css";
  int styleCount = 7;
  std::unique_ptr<AccessibilityLibrary> library;
  std::unique_ptr<DocumentAccess> notes;
  std::unique_ptr<ColourContext> colouring;
  std::unique_ptr<CompositionProcessor> processor;

  AutomationRig() {
    ResetSettings(settings);
    desk.AddMainWindow();
  }
  ~AutomationRig() { TearDown(); }

  // Documents go before the library they use.
  void TearDown() {
    processor.reset();
    notes.reset();
    library.reset();
  }

  void Build(ReformatFunction reformat = RunReplyEngine) {
    TearDown();
    library = std::make_unique<AccessibilityLibrary>(desk, settings, desk, desk);
    notes = std::make_unique<DocumentAccess>(*library, desk);
    colouring = std::make_unique<ColourContext>(ColourContext{settings, desk, styleCount, styleSheetPath});
    processor =
        std::make_unique<CompositionProcessor>(settings, desk.Platform(), *notes, *colouring, std::move(reformat));
    desk.events.clear();
  }

  // A reply window in front, as the user just opened it.
  WindowHandle OpenReply(const std::string& body, const std::string& title = "Re: hello") {
    const WindowHandle note = desk.AddNoteWindow(title, true, body);
    desk.foreground = note;
    return note;
  }
};
