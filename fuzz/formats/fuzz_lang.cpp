// The language table over arbitrary file contents: lookups must stay inside
// the text whatever its line ends, keys and missing "#end".
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "LanguageTable.h"

namespace {
struct NullDialog : IControlText {
  void SetControlText(int, const char*) override {}
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  LanguageTable table;
  table.LoadFromMemory(reinterpret_cast<const char*>(data), size);
  // Keys taken from the input itself reach every position; fixed keys
  // cover the lookups the program makes.
  std::vector<std::string> keys = {"#TrayMenu", "#Header Styles", "#First Time", "#top", "#", "#end"};
  const std::string text(reinterpret_cast<const char*>(data), size);
  for (std::size_t at = text.find('#'); at != std::string::npos && keys.size() < 16; at = text.find('#', at + 1))
    keys.push_back(text.substr(at, text.find_first_of("\r\n", at) - at));
  NullDialog dialog;
  for (const std::string& key : keys) {
    table.GetText(key.c_str());
    std::string line;
    table.GetLine(key.c_str(), line, true);
    table.GetLine(key.c_str(), line, false);
    std::vector<std::string> list;
    table.GetList(key.c_str(), list);
    table.SetLabel(dialog, 1, key.c_str());
  }
  return 0;
}
