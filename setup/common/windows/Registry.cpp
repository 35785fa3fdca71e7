#include "setup/common/windows/Registry.h"

const char* const kRunOnceKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
const char* const kShellFoldersKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

std::string UninstallKeyName(const std::string& appName) {
  return "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + appName;
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

bool RegistryKey::WriteText(const char* valueName, const std::string& value) const {
  if (!key_) return false;
  return RegSetValueExA(key_, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

bool RegistryKey::DeleteValue(const char* valueName) const {
  return key_ && RegDeleteValueA(key_, valueName) == ERROR_SUCCESS;
}

bool ReadRegistryText(HKEY root, const std::string& subKey, const char* valueName, std::string& value) {
  RegistryKey key;
  return key.Open(root, subKey, KEY_QUERY_VALUE) && key.ReadText(valueName, value);
}
