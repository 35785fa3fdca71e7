// Registry keys and their text values, as every program reads and writes them.
#pragma once

#include <windows.h>

#include <string>

#include "base/RegistryRead.h"

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

  // Reads a REG_SZ value of at most MAX_PATH bytes into a zeroed buffer and
  // terminates it itself, since the registry does not promise the zero.  A
  // longer value, or one of another type, is not read.
  bool ReadText(const char* valueName, std::string& value) const;
  // Reads a string value of any length (valueName nullptr: the key's
  // default value) with a buffer sized from the value itself.  Only REG_SZ
  // and REG_EXPAND_SZ count (the latter expanded); the text stops at its
  // first zero whether or not the stored bytes carry one.
  RegistryRead ReadString(const char* valueName, std::string& value) const;
  // Writes a REG_SZ value with its terminating zero counted in the length.
  bool WriteText(const char* valueName, const std::string& value) const;
  // Writes a REG_DWORD value.
  bool WriteNumber(const char* valueName, DWORD value) const;
  bool DeleteValue(const char* valueName) const;

private:
  HKEY key_ = nullptr;
};

// One value of a key opened for reading only, read as ReadText does.
bool ReadRegistryText(HKEY root, const std::string& subKey, const char* valueName, std::string& value);
// One value of a key opened for reading only, read as ReadString does;
// kNoKey when the key cannot be opened.
RegistryRead ReadRegistryString(HKEY root, const std::string& subKey, const char* valueName, std::string& value);

// "SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\<appName>"
std::string UninstallKeyName(const std::string& appName);
// "SOFTWARE\Mozilla\NativeMessagingHosts\<name>", in the registry view of
// the program's own bitness.  Mozilla's applications since Firefox 64 look in
// the 32-bit view first and then in the native one, so either view serves
// 32-bit and 64-bit Thunderbird alike; setup and the uninstaller ship in one
// build and so always meet in the same view.
std::string NativeHostKeyName(const std::string& hostName);
extern const char* const kRunOnceKey;
extern const char* const kShellFoldersKey;
