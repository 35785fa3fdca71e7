// Colouring of one message document and the style sheet it is given.
#pragma once

#include <string>

#include "automation/DocumentAccess.h"
#include "automation/HtmlQuotes.h"
#include "automation/SystemApi.h"
#include "engine/Settings.h"

// The style sheet in the program's folder, which defines the classes the
// colouring uses and is attached to every coloured document.
extern const char kStyleSheetName[];  // "styles.css"

// The style sheet's full name in `directory`.
std::wstring StyleSheetPathIn(const std::wstring& directory);

// The number of quote-level classes q0 .. q(n-1) that the style sheet at
// `path` defines, from the number after "/* " on its first line.  A missing
// file gives 1 silently; a number of 0 (or none) warns and gives 1.
int ReadStyleCount(const char* path, MessageBoxes& boxes);

struct ColourContext {
  const Settings& settings;
  Clock& clock;
  int styleCount;
  const std::wstring& styleSheetPath;
};

// Colours the document whose server window `document` has found.  Returns -1
// (not ready, try later), 0 (coloured now) or 1 (nothing to do: marked,
// rich, not acquired, or text the ANSI code page cannot hold).  `acquired`,
// when given, tells whether the document could be acquired at all.
int ColourDocument(DocumentAccess& document, ColourMode mode, const ColourContext& context, bool* acquired = nullptr);
