#include "LanguageTable.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "base/TextChars.h"

namespace {

std::string Trimmed(const std::string& s) {
  std::size_t begin = 0;
  std::size_t end = s.size();
  while (begin < end && IsSpaceOrLineEnd(s[begin])) ++begin;
  while (end > begin && IsSpaceOrLineEnd(s[end - 1])) --end;
  return s.substr(begin, end - begin);
}

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

LanguageTable::LanguageTable(const char* fileName) {
  Load(fileName);
}

bool LanguageTable::Load(const char* fileName) {
  text_.clear();
  loaded_ = false;
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(fileName, "rb"));
  if (!file) return false;
  std::string data;
  char chunk[8192];
  std::size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) data.append(chunk, got);
  if (std::ferror(file.get())) return false;
  text_.swap(data);
  loaded_ = true;
  return true;
}

void LanguageTable::LoadFromMemory(const char* data, std::size_t size) {
  text_.assign(data, size);
  loaded_ = true;
}

std::size_t LanguageTable::FindValue(const char* key) const {
  if (!loaded_ || key == nullptr || *key == '\0') return std::string::npos;
  const std::size_t at = text_.find(key);
  if (at == std::string::npos) return std::string::npos;
  // A key line that never ends has no value: reading on would leave the file.
  const std::size_t lf = text_.find('\n', at + std::strlen(key));
  if (lf == std::string::npos) return std::string::npos;
  return lf + 1;
}

bool LanguageTable::ReadLine(std::size_t pos, std::string& line, std::size_t& next) const {
  const std::size_t cr = text_.find('\r', pos);
  if (cr == std::string::npos) return false;
  line.assign(text_, pos, cr - pos);
  next = cr + 1;
  if (next < text_.size() && text_[next] == '\n') ++next;
  return true;
}

const char* LanguageTable::GetText(const char* key) {
  if (!loaded_) return result_.c_str();
  const std::size_t value = FindValue(key);
  if (value == std::string::npos) return nullptr;
  // A file without its closing "#end" line gives the rest of the file.
  std::size_t end = text_.find('#', value);
  if (end == std::string::npos) end = text_.size();
  while (end > value && (text_[end - 1] == '\r' || text_[end - 1] == '\n')) --end;
  result_.assign(text_, value, end - value);
  return result_.c_str();
}

bool LanguageTable::GetLine(const char* key, std::string& line, bool trim) const {
  const std::size_t value = FindValue(key);
  if (value == std::string::npos) return false;
  std::string read;
  std::size_t next;
  if (!ReadLine(value, read, next)) return false;
  line = trim ? Trimmed(read) : read;
  return true;
}

bool LanguageTable::GetList(const char* key, std::vector<std::string>& list) const {
  const std::size_t value = FindValue(key);
  if (value == std::string::npos) return false;
  std::string line;
  std::size_t next;
  if (!ReadLine(value, line, next)) return false;
  std::vector<std::string> items;
  while (line.empty() || line[0] != '#') {
    items.push_back(line);
    if (!ReadLine(next, line, next)) break;
  }
  list.insert(list.end(), items.begin(), items.end());
  return true;
}

void LanguageTable::SetLabel(IControlText& dialog, int controlId, const char* key) const {
  std::string line;
  if (GetLine(key, line, true) && !line.empty()) dialog.SetControlText(controlId, line.c_str());
}
