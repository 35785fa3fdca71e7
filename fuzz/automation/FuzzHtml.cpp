// Feeds message HTML and inner text to the colouring's text functions.
// Input: one option byte, then the HTML, a zero byte, and the inner text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "automation/HtmlQuotes.h"
#include "engine/Settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t options = data[0];
  const std::string rest(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::size_t split = rest.find('\0');
  const std::string html = rest.substr(0, split);
  const std::string text = split == std::string::npos ? std::string() : rest.substr(split + 1);

  Settings settings;
  ResetSettings(settings);
  settings.coloring = options & 1;
  settings.reformatHtml = (options >> 1) & 1;
  settings.compressedIndentation = (options >> 2) & 1;
  settings.wrapColumn = (options & 0x40) ? 20 : 72;
  settings.quoteChar = (options & 0x80) ? '|' : '>';
  const int styleCount = static_cast<int>((options >> 3) & 7) - 1;  // -1 .. 6
  const ColourMode mode = (options & 0x20) ? ColourMode::composition : ColourMode::view;

  std::string coloured = html;
  ColourQuoteLevels(coloured, styleCount);
  if (coloured.size() < html.size()) std::abort();  // it only ever inserts

  std::string linked = text;
  RestoreLinks(html, linked);
  if (linked.size() < text.size()) std::abort();

  std::string escaped = text;
  EscapeRebuiltText(escaped);
  // Only the line breaks it made may carry angle brackets.
  ReplaceAll(escaped, "<BR>", "");
  if (escaped.find_first_of("\n<>") != std::string::npos) std::abort();

  std::string result;
  const int outcome = ColourHtmlText(html, text, true, mode, styleCount, settings, result);
  if (outcome == 0 && result.compare(0, 20, kColourMark) != 0) std::abort();
  if (outcome != 0 && !result.empty()) std::abort();
  IsRichHtml(html);
  IsQuotedHtml(html);
  return 0;
}
