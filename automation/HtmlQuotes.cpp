#include "automation/HtmlQuotes.h"

#include "engine/QuotedTextRequoter.h"
#include "engine/ReplyFormatter.h"

const char kColourMark[] = "<SPAN class=KV-MARK>";
const char kTitleMark[] = "Kelvane";

namespace {

bool StartsWithAt(const std::string& text, std::size_t pos, const char* literal) {
  return text.compare(pos, std::char_traits<char>::length(literal), literal) == 0;
}

}  // namespace

bool IsQuotedHtml(const std::string& html) {
  return html.find("<BLOCKQUOTE") != std::string::npos || html.find("<DIV style=\"FONT:") != std::string::npos;
}

bool IsRichHtml(const std::string& html) {
  for (const char* tag : {"<FONT ", "<P>", "<IMG", "<I>", "<B>"})
    if (html.find(tag) != std::string::npos) return true;
  return false;
}

void ColourQuoteLevels(std::string& html, int styleCount) {
  if (styleCount < 1) styleCount = 1;
  std::size_t pos = StartsWithAt(html, 0, "<DIV>") ? 5 : 0;
  int prevDepth = 0;
  bool inSig = false;
  while (pos < html.size()) {
    std::size_t end = html.find("<BR>", pos);
    if (end == std::string::npos) end = html.size() - 1;

    int depth = 0;
    bool afterMark = false;
    for (std::size_t i = pos; i <= end;) {
      if (StartsWithAt(html, i, "&gt;")) {
        ++depth;
        afterMark = true;
        i += 4;
      } else if (html[i] == ':' || html[i] == '|') {
        ++depth;
        afterMark = true;
        ++i;
      } else if (html[i] == ' ') {
        // One blank may follow each quote mark; any other blank ends them.
        if (!afterMark) break;
        afterMark = false;
        ++i;
      } else {
        // A colon glued to punctuation is a smiley, not a quote mark.
        if (depth > 0 && i > pos && html[i - 1] == ':' &&
            !ReplyFormatter::IsWordChar(static_cast<unsigned char>(html[i])))
          --depth;
        break;
      }
    }
    const int level = depth % styleCount;

    std::string inserted;
    if (depth != prevDepth) {
      inSig = false;
      inserted = "</span><span class=q" + std::to_string(level) + ">";
      html.insert(pos, inserted);
      prevDepth = depth;
    } else if (inSig && end == pos) {
      inSig = false;
      inserted = "</span>";
      html.insert(pos, inserted);
    }
    if (end - pos <= 3 && inserted.empty() && StartsWithAt(html, pos, "--")) {
      inserted = "</span><span class=sig>";
      html.insert(pos, inserted);
      inSig = true;
    }

    // Links are searched up to the line's end as it was found, before the
    // insertions above moved it.
    const std::string linkClass = inSig ? std::string("class=sig ") : "class=" + std::to_string(level) + " ";
    std::size_t added = 0;
    for (std::size_t a = html.find("<A ", pos); a != std::string::npos && a < end; a = html.find("<A ", a + 1)) {
      html.insert(a + 3, linkClass);
      added += linkClass.size();
    }
    pos = end + 4 + inserted.size() + added;
  }
}

void RestoreLinks(const std::string& oldHtml, std::string& newText) {
  std::size_t searchFrom = 0;
  for (std::size_t i = 0;;) {
    const std::size_t open = oldHtml.find("<A", i);
    if (open == std::string::npos) return;
    const std::size_t close = oldHtml.find('>', open);
    if (close == std::string::npos) return;
    const std::string tag = oldHtml.substr(open, close - open + 1);
    // <A href="URL">: the address sits between the first 9 and the last 2
    // characters.  Shorter tags have none.
    std::string url = tag.size() > 11 ? tag.substr(9, tag.size() - 11) : std::string();
    if (url.compare(0, 7, "mailto:") == 0) url.erase(0, 7);
    ReplaceAll(url, "&amp;", "&");
    if (!url.empty()) {
      const std::size_t k = newText.find(url, searchFrom);
      if (k != std::string::npos) {
        newText.insert(k, tag);
        newText.insert(k + tag.size() + url.size(), "</A>");
        searchFrom = k + tag.size() + url.size() + 4;
      }
    }
    i = open + 1;
  }
}

void EscapeRebuiltText(std::string& text) {
  ReplaceAll(text, "\n ", "\n&nbsp;");
  ReplaceAll(text, "  ", " &nbsp;");
  ReplaceAll(text, ">", "&gt;");
  ReplaceAll(text, "<", "&lt;");
  ReplaceAll(text, "\n", "<BR>");
}

int ColourHtmlText(const std::string& html, const std::string& text, bool textRead, ColourMode mode, int styleCount,
                   const Settings& settings, std::string& result) {
  if (html.empty()) return -1;
  if (html.find(kColourMark) != std::string::npos || IsRichHtml(html)) return 1;
  std::string coloured = html;
  if (settings.reformatHtml && mode == ColourMode::view) {
    // An empty rebuild would replace the whole message by nothing.
    if (!textRead || text.empty()) return -1;
    coloured = text;
    RequoteText(coloured, settings);
    EscapeRebuiltText(coloured);
    RestoreLinks(html, coloured);
  }
  if (settings.coloring || mode == ColourMode::composition) ColourQuoteLevels(coloured, styleCount);
  result = kColourMark + coloured;
  return 0;
}
