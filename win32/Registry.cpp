#include "win32/Registry.h"

#include <cstring>
#include <vector>

#include "base/Product.h"

const char* const kRunOnceKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
const char* const kShellFoldersKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

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

std::string UninstallKeyName(const std::string& appName) {
  return kUninstallKeyRoot + appName;
}

std::string NativeHostKeyName(const std::string& hostName) {
  return "SOFTWARE\\Mozilla\\NativeMessagingHosts\\" + hostName;
}

bool RegistryKey::Open(HKEY root, const std::string& subKey, REGSAM access) {
  Close();
  if (RegOpenKeyExA(root, subKey.c_str(), 0, access, &key_) == ERROR_SUCCESS) return true;
  key_ = nullptr;
  return false;
}

bool RegistryKey::Create(HKEY root, const std::string& subKey, REGSAM access) {
  Close();
  if (RegCreateKeyExA(root, subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &key_, nullptr) ==
      ERROR_SUCCESS)
    return true;
  key_ = nullptr;
  return false;
}

void RegistryKey::Close() {
  if (key_) RegCloseKey(key_);
  key_ = nullptr;
}

bool RegistryKey::ReadText(const char* valueName, std::string& value) const {
  if (!key_) return false;
  char buffer[MAX_PATH + 1] = {};
  DWORD type = 0;
  DWORD size = MAX_PATH;
  if (RegQueryValueExA(key_, valueName, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS)
    return false;
  if (type != REG_SZ) return false;
  buffer[size < MAX_PATH ? size : MAX_PATH] = '\0';
  value = buffer;
  return true;
}

RegistryRead RegistryKey::ReadString(const char* valueName, std::string& value) const {
  if (!key_) return RegistryRead::kNoKey;
  // The value may change between the two calls; try again when it grew.
  for (int attempt = 0; attempt < 3; ++attempt) {
    DWORD type = 0;
    DWORD size = 0;
    LONG status = ::RegQueryValueExA(key_, valueName, nullptr, &type, nullptr, &size);
    if (status != ERROR_SUCCESS) return RegistryRead::kNoValue;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return RegistryRead::kNotString;
    std::vector<char> buffer(static_cast<std::size_t>(size) + 1, '\0');
    DWORD got = size;
    status = ::RegQueryValueExA(key_, valueName, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &got);
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

bool RegistryKey::WriteText(const char* valueName, const std::string& value) const {
  if (!key_) return false;
  return RegSetValueExA(key_, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

bool RegistryKey::WriteNumber(const char* valueName, DWORD value) const {
  if (!key_) return false;
  return RegSetValueExA(key_, valueName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value) ==
         ERROR_SUCCESS;
}

bool RegistryKey::DeleteValue(const char* valueName) const {
  return key_ && RegDeleteValueA(key_, valueName) == ERROR_SUCCESS;
}

bool ReadRegistryText(HKEY root, const std::string& subKey, const char* valueName, std::string& value) {
  RegistryKey key;
  return key.Open(root, subKey, KEY_QUERY_VALUE) && key.ReadText(valueName, value);
}

RegistryRead ReadRegistryString(HKEY root, const std::string& subKey, const char* valueName, std::string& value) {
  RegistryKey key;
  if (!key.Open(root, subKey, KEY_QUERY_VALUE)) return RegistryRead::kNoKey;
  return key.ReadString(valueName, value);
}
