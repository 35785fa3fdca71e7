#include "engine/Settings.h"

#include <cstdio>
#include <cstring>

namespace {

const char kDefaultCustomHeader[] = "%n <%m> scribbled:\\n";

void PutInt(unsigned char* at, int32_t value) {
  const uint32_t u = static_cast<uint32_t>(value);
  at[0] = static_cast<unsigned char>(u & 0xFFu);
  at[1] = static_cast<unsigned char>((u >> 8) & 0xFFu);
  at[2] = static_cast<unsigned char>((u >> 16) & 0xFFu);
  at[3] = static_cast<unsigned char>((u >> 24) & 0xFFu);
}

int32_t GetInt(const unsigned char* at) {
  const uint32_t u = static_cast<uint32_t>(at[0]) | (static_cast<uint32_t>(at[1]) << 8) |
                     (static_cast<uint32_t>(at[2]) << 16) | (static_cast<uint32_t>(at[3]) << 24);
  int32_t value;
  std::memcpy(&value, &u, sizeof value);  // two's complement without implementation-defined casts
  return value;
}

// Every 32-bit field with its file offset; quoteChar, filler and customHeader
// are byte fields and handled apart.
struct IntField {
  std::size_t offset;
  int32_t Settings::*field;
};

const IntField kIntFields[] = {
    {0, &Settings::wrapColumn},
    {8, &Settings::compressedIndentation},
    {12, &Settings::dependOnOE},
    {16, &Settings::headerStyle},
    {20, &Settings::cursorAtTop},
    {24, &Settings::moveSignatureToBottom},
    {28, &Settings::ignoreHtmlMessages},
    {32, &Settings::oeReactionDelay},
    {36, &Settings::clipboardOpenTimeout},
    {40, &Settings::checkInterval},
    {44, &Settings::displayWarningsOnErrors},
    {48, &Settings::coloring},
    {52, &Settings::compositionInitDelay},
    {56, &Settings::compatibilityMode},
    {60, &Settings::useClipboard},
    {64, &Settings::stripQuotedSignature},
    {152, &Settings::isoSignatureFix},
    {156, &Settings::fixExistingQuotes},
    {160, &Settings::colorComposition},
    {164, &Settings::reformatHtml},
};

constexpr std::size_t kQuoteCharOffset = 4;
constexpr std::size_t kFillerOffset = 5;
constexpr std::size_t kCustomHeaderOffset = 68;

}  // namespace

void ResetSettings(Settings& s) {
  std::memset(&s, 0, sizeof s);
  s.wrapColumn = 72;
  s.quoteChar = '>';
  s.compressedIndentation = 1;
  s.dependOnOE = 1;
  s.headerStyle = HeaderStyleShort;
  s.cursorAtTop = 1;
  s.moveSignatureToBottom = 1;
  s.ignoreHtmlMessages = 1;
  s.oeReactionDelay = 200;
  s.clipboardOpenTimeout = 500;
  s.checkInterval = 300;
  s.displayWarningsOnErrors = 1;
  s.coloring = 1;
  s.compositionInitDelay = 0;
  s.compatibilityMode = 0;
  s.useClipboard = 0;
  s.stripQuotedSignature = 1;
  std::memcpy(s.customHeader, kDefaultCustomHeader, sizeof kDefaultCustomHeader);
  s.isoSignatureFix = 0;
  s.fixExistingQuotes = 1;
  s.colorComposition = 0;
  s.reformatHtml = 0;
}

void SettingsToImage(const Settings& s, unsigned char (&image)[kSettingsSize]) {
  for (const IntField& f : kIntFields) PutInt(image + f.offset, s.*(f.field));
  image[kQuoteCharOffset] = static_cast<unsigned char>(s.quoteChar);
  std::memcpy(image + kFillerOffset, s.filler, sizeof s.filler);
  std::memcpy(image + kCustomHeaderOffset, s.customHeader, sizeof s.customHeader);
}

void SettingsFromImage(Settings& s, const unsigned char* data, std::size_t size) {
  if (size > kSettingsSize) size = kSettingsSize;
  // Overlay the bytes on the record's current image, so that a partial field
  // at the end of a short file changes only its leading bytes.
  unsigned char image[kSettingsSize];
  SettingsToImage(s, image);
  if (size > 0) std::memcpy(image, data, size);
  for (const IntField& f : kIntFields) s.*(f.field) = GetInt(image + f.offset);
  s.quoteChar = static_cast<char>(image[kQuoteCharOffset]);
  std::memcpy(s.filler, image + kFillerOffset, sizeof s.filler);
  std::memcpy(s.customHeader, image + kCustomHeaderOffset, sizeof s.customHeader);
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
