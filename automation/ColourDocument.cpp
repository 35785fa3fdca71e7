#include "automation/ColourDocument.h"

#include <climits>
#include <cstdio>
#include <cstdint>

#include "base/Product.h"

const char kStyleSheetName[] = "styles.css";

std::wstring StyleSheetPathIn(const std::wstring& directory) {
  const char* name = kStyleSheetName;
  return directory + L"\\" + std::wstring(name, name + sizeof kStyleSheetName - 1);
}

int ReadStyleCount(const char* path, MessageBoxes& boxes) {
  std::FILE* file = std::fopen(path, "r");
  if (file == nullptr) return 1;
  char line[20] = {};
  long long count = 0;
  if (std::fgets(line, sizeof line, file) != nullptr) {
    std::size_t i = 3;
    for (std::size_t k = 0; k < i; ++k)
      if (line[k] == '\0') i = k;  // a line shorter than "/* " holds no number
    while (line[i] == ' ' || line[i] == '\t') ++i;
    for (; line[i] >= '0' && line[i] <= '9'; ++i) {
      count = count * 10 + (line[i] - '0');
      if (count > INT_MAX) count = INT_MAX;
    }
  }
  std::fclose(file);
  if (count == 0) {
    boxes.ShowWarning(kProductErrorCaption, std::string("Number of style sheets in ") + kStyleSheetName +
                                                " set to 0!\nMust be at least 1!\n");
    return 1;
  }
  return static_cast<int>(count);
}

int ColourDocument(DocumentAccess& document, ColourMode mode, const ColourContext& context, bool* acquired) {
  const DocumentLease lease(document);
  if (acquired != nullptr) *acquired = lease.Acquired();
  if (!lease.Acquired()) return 1;

  if (!document.IsComplete()) return -1;
  std::string title;
  document.GetTitle(title);
  if (title == kTitleMark) return 1;

  const Settings& settings = context.settings;
  context.clock.Sleep(settings.oeReactionDelay > 0 ? static_cast<std::uint32_t>(settings.oeReactionDelay) : 0u);

  std::string html;
  const TextRead htmlRead = document.GetInnerHtml(html);
  if (htmlRead == TextRead::kFailed || html.empty()) return -1;
  // Writing back HTML that lost characters in the ANSI conversion would
  // damage the message for good.
  if (htmlRead == TextRead::kLossy) return 1;

  std::string text;
  bool textRead = false;
  if (settings.reformatHtml && mode == ColourMode::view) {
    const TextRead read = document.GetInnerText(text);
    if (read == TextRead::kLossy) return 1;
    textRead = read == TextRead::kOk;
  }

  std::string result;
  const int outcome = ColourHtmlText(html, text, textRead, mode, context.styleCount, settings, result);
  if (outcome != 0) return outcome;

  document.AddStyleSheet(context.styleSheetPath);
  document.SetInnerHtml(result);
  if (mode == ColourMode::view) document.SetTitle(kTitleMark);
  return 0;
}
