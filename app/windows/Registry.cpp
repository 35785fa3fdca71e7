#include "app/windows/Registry.h"

#include <cstring>
#include <vector>

#include "ui/windows/Handles.h"

namespace {

bool Expand(const std::string& text, std::string& expanded) {
  const DWORD needed = ::ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
  if (needed == 0) return false;
  std::vector<char> buffer(needed + 1, '\0');
  const DWORD got = ::ExpandEnvironmentStringsA(text.c_str(), buffer.data(), needed + 1);
  if (got == 0 || got > needed + 1) return false;
  expanded = buffer.data();
  return true;
}

}  // namespace

RegistryRead ReadRegistryString(HKEY root, const char* subKey, const char* valueName, std::string& value) {
  HKEY opened = nullptr;
  if (::RegOpenKeyExA(root, subKey, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) return RegistryRead::kNoKey;
  ui::UniqueRegKey key(opened);
  // The value may change between the two calls; try again when it grew.
  for (int attempt = 0; attempt < 3; ++attempt) {
    DWORD type = 0;
    DWORD size = 0;
    LONG status = ::RegQueryValueExA(key.Get(), valueName, nullptr, &type, nullptr, &size);
    if (status == ERROR_FILE_NOT_FOUND) return RegistryRead::kNoValue;
    if (status != ERROR_SUCCESS) return RegistryRead::kNoValue;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return RegistryRead::kNotString;
    std::vector<char> buffer(static_cast<std::size_t>(size) + 1, '\0');
    DWORD got = size;
    status = ::RegQueryValueExA(key.Get(), valueName, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &got);
    if (status == ERROR_MORE_DATA) continue;
    if (status != ERROR_SUCCESS) return RegistryRead::kNoValue;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return RegistryRead::kNotString;
    const std::size_t length = ::strnlen(buffer.data(), got);
    std::string text(buffer.data(), length);
    if (type == REG_EXPAND_SZ && !Expand(text, text)) return RegistryRead::kNotString;
    value = text;
    return RegistryRead::kOk;
  }
  return RegistryRead::kNoValue;
}
