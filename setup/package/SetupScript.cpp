#include "setup/package/SetupScript.h"

namespace {

constexpr std::size_t npos = std::string_view::npos;

// Start of the line after the header's first occurrence; npos when the
// header is missing or its line never ends.
std::size_t FindContent(std::string_view text, std::string_view header) {
  const std::size_t at = text.find(header);
  if (at == npos) return npos;
  const std::size_t lf = text.find('\n', at + header.size());
  return lf == npos ? npos : lf + 1;
}

// One CR-ended line at pos; false when no CR follows.
bool ReadLine(std::string_view text, std::size_t pos, std::string_view& line, std::size_t& next) {
  const std::size_t cr = text.find('\r', pos);
  if (cr == npos) return false;
  line = text.substr(pos, cr - pos);
  next = cr + 1;
  if (next < text.size() && text[next] == '\n') ++next;
  return true;
}

std::vector<std::string> ReadLines(std::string_view text, std::size_t pos) {
  std::vector<std::string> lines;
  std::string_view line;
  while (ReadLine(text, pos, line, pos) && (line.empty() || line[0] != '#')) lines.emplace_back(line);
  return lines;
}

}  // namespace

bool ReadScriptValue(std::string_view text, std::string_view header, std::string& value) {
  const std::size_t content = FindContent(text, header);
  std::string_view line;
  std::size_t next;
  if (content == npos || !ReadLine(text, content, line, next)) return false;
  value.assign(line);
  return true;
}

bool ReadScriptList(std::string_view text, std::string_view header, std::vector<std::string>& list) {
  const std::size_t content = FindContent(text, header);
  if (content == npos) return false;
  list = ReadLines(text, content);
  return true;
}

void SplitShortcutTarget(std::string_view line, ShortcutEntry& entry) {
  const std::size_t dot = line.find('.');
  const std::size_t blank = dot == npos ? npos : line.find(' ', dot + 1);
  if (blank == npos) {
    entry.target.assign(line);
    entry.arguments.clear();
  } else {
    entry.target.assign(line.substr(0, blank));
    entry.arguments.assign(line.substr(blank + 1));
  }
}

bool ReadScriptPairList(std::string_view text, std::string_view header, std::vector<ShortcutEntry>& list) {
  const std::size_t content = FindContent(text, header);
  if (content == npos) return false;
  const std::vector<std::string> lines = ReadLines(text, content);
  list.clear();
  // A target line left without its description is dropped.
  for (std::size_t i = 0; i + 1 < lines.size(); i += 2) {
    ShortcutEntry entry;
    SplitShortcutTarget(lines[i], entry);
    entry.description = lines[i + 1];
    list.push_back(std::move(entry));
  }
  return true;
}

bool ReadScriptHostList(std::string_view text, std::string_view header, std::vector<NativeHostEntry>& list) {
  const std::size_t content = FindContent(text, header);
  if (content == npos) return false;
  const std::vector<std::string> lines = ReadLines(text, content);
  list.clear();
  for (std::size_t i = 0; i + 1 < lines.size(); i += 2) list.push_back({lines[i], lines[i + 1]});
  return true;
}

bool ReadScriptBlock(std::string_view text, std::string_view header, std::string& block) {
  const std::size_t content = FindContent(text, header);
  if (content == npos) return false;
  // Without a later '#' the block has no end: it counts as absent.
  const std::size_t end = text.find('#', content);
  if (end == npos) return false;
  block.assign(text.substr(content, end - content));
  return true;
}

SetupScript ParseSetupScript(std::string_view text) {
  SetupScript script;
  ReadScriptValue(text, "#AppName", script.AppName);
  ReadScriptPairList(text, "#Shortcuts", script.Shortcuts);
  ReadScriptPairList(text, "#StartupShortcuts", script.StartupShortcuts);
  ReadScriptPairList(text, "#DesktopShortcuts", script.DesktopShortcuts);
  ReadScriptList(text, "#GeneratedFiles", script.GeneratedFiles);
  ReadScriptValue(text, "#Language", script.Language);
  ReadScriptList(text, "#InstallFonts", script.InstallFonts);
  ReadScriptValue(text, "#DefaultDest", script.DefaultDest);
  ReadScriptBlock(text, "#Agreement", script.Agreement);
  ReadScriptValue(text, "#RunningCheckWindowClass", script.RunningCheckWindowClass);
  ReadScriptValue(text, "#RunningCheckWindowTitle", script.RunningCheckWindowTitle);
  ReadScriptValue(text, "#Publisher", script.Publisher);
  ReadScriptValue(text, "#DisplayVersion", script.DisplayVersion);
  ReadScriptValue(text, "#DisplayIcon", script.DisplayIcon);
  ReadScriptValue(text, "#URLInfoAbout", script.URLInfoAbout);
  ReadScriptHostList(text, "#NativeMessagingHosts", script.NativeMessagingHosts);
  return script;
}
