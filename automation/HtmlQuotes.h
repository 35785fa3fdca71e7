// Text work on the HTML of a message body: quote-level colouring, link
// restoration after a rebuild, and the tests that decide whether a body may
// be touched at all.
#pragma once

#include <string>

#include "base/ReplaceAll.h"  // the text steps below are built on it; callers use it too
#include "engine/Settings.h"

enum class ColourMode { view, composition };

// Marks left in a handled document.
extern const char kColourMark[];  // "<SPAN class=KV-MARK>"
extern const char kTitleMark[];   // "Kelvane"

// True for HTML quoted by the client ("<BLOCKQUOTE" or "<DIV style=\"FONT:").
bool IsQuotedHtml(const std::string& html);
// True for HTML with fonts, paragraphs, pictures, italics or bold.
bool IsRichHtml(const std::string& html);

// Wraps every run of lines ("<BR>"-separated) of one quote depth in a span of
// class q<depth modulo styleCount>, signatures in class sig, and gives the
// links of each line the matching class.  A style count below 1 counts as 1.
void ColourQuoteLevels(std::string& html, int styleCount);

// Re-creates each anchor of oldHtml around the first later occurrence of its
// address in newText.  Anchors whose address comes out empty are skipped.
void RestoreLinks(const std::string& oldHtml, std::string& newText);

// Turns rebuilt plain text into HTML: leading and double blanks become
// "&nbsp;", angle brackets are escaped, line feeds become "<BR>".
void EscapeRebuiltText(std::string& text);

// The text part of the colouring, on a body's inner HTML.  `text` is the
// inner text used by the rebuild (`reformatHtml` in mode view); textRead
// tells whether it could be read.  Returns 0 with the new inner HTML in
// `result`, 1 when the body must be left alone (already marked or rich HTML),
// -1 when it cannot be handled yet (no HTML, or the rebuild has no text to
// work on: a message is never blanked).
int ColourHtmlText(const std::string& html, const std::string& text, bool textRead, ColourMode mode, int styleCount,
                   const Settings& settings, std::string& result);
