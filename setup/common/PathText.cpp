#include "setup/common/PathText.h"

namespace {

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

char FoldName(char c) {
  if (c == '/') return '\\';
  if (c >= 'A' && c <= 'Z') return static_cast<char>(c - 'A' + 'a');
  return c;
}

// Windows drops trailing dots and blanks from a component, so "..." and
// ". ." would become "." or "..", or vanish altogether.
bool IsDotsAndBlanksOnly(const std::string& component) {
  for (char c : component)
    if (c != '.' && c != ' ') return false;
  return true;
}

bool IsForbiddenChar(unsigned char c) {
  return c < 32 || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' || c == '>' || c == '|';
}

}  // namespace

bool IsSafeRelativeName(const std::string& name) {
  if (name.empty() || IsSeparator(name[0])) return false;
  std::size_t end = name.size();
  if (IsSeparator(name[end - 1])) --end;  // a directory entry of an archive
  std::size_t start = 0;
  while (start <= end) {
    std::size_t stop = start;
    for (; stop < end && !IsSeparator(name[stop]); ++stop)
      if (IsForbiddenChar(static_cast<unsigned char>(name[stop]))) return false;
    if (stop == start || IsDotsAndBlanksOnly(name.substr(start, stop - start))) return false;
    start = stop + 1;
  }
  return true;
}

bool IsSafeFileName(const std::string& name) {
  for (char c : name)
    if (IsSeparator(c)) return false;
  return IsSafeRelativeName(name);
}

bool SameFileName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (FoldName(a[i]) != FoldName(b[i])) return false;
  return true;
}

bool JoinPath(std::string& out, const std::string& dir, const std::string& name) {
  std::size_t dirLength = dir.size();
  bool hasSeparator = dirLength > 0 && dir[dirLength - 1] == '\\';
  std::size_t length = dirLength + (hasSeparator ? 0 : 1) + name.size();
  if (length >= kPathCapacity) return false;
  std::string joined;
  joined.reserve(length);
  joined = dir;
  if (!hasSeparator) joined += '\\';
  joined += name;
  out.swap(joined);
  return true;
}

std::string ParentPath(const std::string& path) {
  std::size_t at = path.rfind('\\');
  return at == std::string::npos ? std::string() : path.substr(0, at);
}

bool IsInsideDirectory(const std::string& path, const std::string& dir) {
  std::string base = dir;
  while (!base.empty() && base.back() == '\\') base.pop_back();
  if (base.empty() || path.size() <= base.size() + 1) return false;
  return SameFileName(path.substr(0, base.size()), base) && path[base.size()] == '\\';
}

bool HasLinkExtension(const std::string& path) {
  return path.size() > 4 && SameFileName(path.substr(path.size() - 4), ".lnk");
}

int DirectoryDepth(const std::string& directory) {
  int depth = 0;
  for (std::size_t i = 1; i < directory.size(); ++i)
    if (directory[i] == '\\') ++depth;
  return depth;
}

bool IsSafeKeyName(const std::string& name) {
  if (name.empty() || name.size() >= 256) return false;
  for (char c : name)
    if (c == '\\' || static_cast<unsigned char>(c) < 32) return false;
  return true;
}

bool IsNativeHostName(const std::string& name) {
  if (name.empty() || name.size() >= 256) return false;
  bool wordStart = true;
  for (char c : name) {
    bool wordChar = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
    if (c == '.' && !wordStart)
      wordStart = true;
    else if (wordChar)
      wordStart = false;
    else
      return false;
  }
  return !wordStart;
}
