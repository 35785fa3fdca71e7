// Registry text values as setup and the uninstaller read and write them.
#pragma once

#include <windows.h>

#include <string>

// An open registry key, closed once by its owner.
class RegistryKey {
public:
  RegistryKey() = default;
  ~RegistryKey() { Close(); }
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;

  bool Open(HKEY root, const std::string& subKey, REGSAM access);
  bool Create(HKEY root, const std::string& subKey, REGSAM access);
  void Close();
  HKEY Get() const { return key_; }

  // Reads a REG_SZ value of less than 260 bytes into a zeroed buffer and
  // terminates it itself, since the registry does not promise the zero.
  bool ReadText(const char* valueName, std::string& value) const;
  // Writes a REG_SZ value with its terminating zero counted in the length.
  bool WriteText(const char* valueName, const std::string& value) const;
  bool DeleteValue(const char* valueName) const;

private:
  HKEY key_ = nullptr;
};

// One value of a key, opened for reading only.
bool ReadRegistryText(HKEY root, const std::string& subKey, const char* valueName, std::string& value);

// "SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\<appName>"
std::string UninstallKeyName(const std::string& appName);
extern const char* const kRunOnceKey;
extern const char* const kShellFoldersKey;
