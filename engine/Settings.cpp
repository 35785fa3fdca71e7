#include "engine/Settings.h"

#include <cstdio>
#include <cstring>

#include "base/LittleEndian.h"
#include "engine/SettingFields.h"

// Each row of kSettingFields sets exactly one of its member pointers, which
// says how the field is copied.

void ResetSettings(Settings& s) {
  std::memset(&s, 0, sizeof s);
  for (const SettingField& f : kSettingFields) {
    if (f.number != nullptr)
      s.*(f.number) = f.defaultNumber;
    else if (f.character != nullptr)
      s.*(f.character) = static_cast<char>(f.defaultNumber);
    else
      std::strcpy(s.*(f.text), f.defaultText);  // it fits: checked beside the table
  }
}

void SettingsToImage(const Settings& s, unsigned char (&image)[kSettingsSize]) {
  for (const SettingField& f : kSettingFields) {
    if (f.number != nullptr)
      WriteLeInt32(image + f.offset, s.*(f.number));
    else if (f.character != nullptr)
      image[f.offset] = static_cast<unsigned char>(s.*(f.character));
    else
      std::memcpy(image + f.offset, s.*(f.text), f.size);
  }
  std::memcpy(image + kSettingsFillerOffset, s.filler, kSettingsFillerSize);
}

void SettingsFromImage(Settings& s, const unsigned char* data, std::size_t size) {
  if (size > kSettingsSize) size = kSettingsSize;
  // Overlay the bytes on the record's current image, so that a partial field
  // at the end of a short file changes only its leading bytes.
  unsigned char image[kSettingsSize];
  SettingsToImage(s, image);
  if (size > 0) std::memcpy(image, data, size);
  for (const SettingField& f : kSettingFields) {
    if (f.number != nullptr)
      s.*(f.number) = ReadLeInt32(image + f.offset);
    else if (f.character != nullptr)
      s.*(f.character) = static_cast<char>(image[f.offset]);
    else
      std::memcpy(s.*(f.text), image + f.offset, f.size);
  }
  std::memcpy(s.filler, image + kSettingsFillerOffset, kSettingsFillerSize);
}

bool LoadSettings(Settings& settings, const char* path) {
  std::FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return true;
  unsigned char image[kSettingsSize];
  std::size_t got = 0;
  while (got < kSettingsSize) {
    const std::size_t n = std::fread(image + got, 1, kSettingsSize - got, file);
    if (n == 0) break;
    got += n;
  }
  std::fclose(file);
  SettingsFromImage(settings, image, got);
  return false;
}

bool SaveSettings(const Settings& settings, const char* path) {
  unsigned char image[kSettingsSize];
  SettingsToImage(settings, image);
  std::FILE* file = std::fopen(path, "wb");
  if (file == nullptr) return true;
  const bool written = std::fwrite(image, 1, kSettingsSize, file) == kSettingsSize;
  const bool closed = std::fclose(file) == 0;
  return !(written && closed);
}

std::size_t CustomHeaderLength(const Settings& settings) {
  std::size_t n = 0;
  while (n < kCustomHeaderMaxLength && settings.customHeader[n] != '\0') ++n;
  return n;
}
