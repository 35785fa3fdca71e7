// The process-wide options record and its raw file image.
#pragma once

#include <cstddef>
#include <cstdint>

#include "base/Product.h"

// Index of the "Header style" list; stored in Settings::headerStyle.  A loaded
// file may hold any other value, which composes an empty header.
enum HeaderStyle : int32_t {
  kHeaderStyleOE = 0,         // "O.E.": keep the client's header
  kHeaderStyleShort = 1,      // "short": "<name> wrote:"
  kHeaderStyleShortMail = 2,  // "short+m": "<name> <mail> wrote:"
  kHeaderStyleNone = 3,       // "none": remove the header
  kHeaderStyleCustom = 4      // "custom": customHeader template
};

// Size of the file image and of the record in memory.
constexpr std::size_t kSettingsSize = 168;
// The custom header holds at most this many characters before its zero.
constexpr std::size_t kCustomHeaderMaxLength = 80;
constexpr std::size_t kCustomHeaderSize = 84;

// The in-memory record has the same layout as the file (checked below), but
// the file is always written and read through an explicit little-endian
// image, so the layout of this struct is a convenience, not a contract.
// Each field's name, file offset and default are listed once, in
// engine/SettingFields.h.
struct Settings {
  int32_t wrapColumn;
  char quoteChar;
  unsigned char filler[3];  // unused; carried through from a loaded file
  int32_t compressedIndentation;
  int32_t dependOnOE;
  int32_t headerStyle;
  int32_t cursorAtTop;
  int32_t moveSignatureToBottom;
  int32_t ignoreHtmlMessages;
  int32_t oeReactionDelay;
  int32_t clipboardOpenTimeout;
  int32_t checkInterval;
  int32_t displayWarningsOnErrors;
  int32_t coloring;
  int32_t compositionInitDelay;
  int32_t compatibilityMode;
  int32_t useClipboard;
  int32_t stripQuotedSignature;
  char customHeader[kCustomHeaderSize];  // zero-terminated; may lack the zero in a loaded file
  int32_t isoSignatureFix;
  int32_t fixExistingQuotes;
  int32_t colorComposition;
  int32_t reformatHtml;
};

static_assert(sizeof(Settings) == kSettingsSize, "Settings must match its 168-byte file image");
static_assert(offsetof(Settings, quoteChar) == 4 && offsetof(Settings, compressedIndentation) == 8 &&
                  offsetof(Settings, stripQuotedSignature) == 64 && offsetof(Settings, customHeader) == 68 &&
                  offsetof(Settings, isoSignatureFix) == 152 && offsetof(Settings, reformatHtml) == 164,
              "Settings fields must sit at their file offsets");

// Puts every field to its default; filler and unused header bytes become zero.
void ResetSettings(Settings& settings);

// Reads up to 168 bytes of the raw file over the record.  Returns true when the
// file cannot be opened (the record is then untouched).  A short file replaces
// only the leading bytes it holds; bytes after the 168th are ignored.
bool LoadSettings(Settings& settings, const char* path = kSettingsFile);

// Writes the 168-byte image.  Returns true when the file cannot be written.
bool SaveSettings(const Settings& settings, const char* path = kSettingsFile);

// The little-endian file image of a record, and the reverse.  SettingsFromImage
// overwrites only the first `size` bytes of the record's image (size <= 168),
// exactly as reading a short file over the record would.
void SettingsToImage(const Settings& settings, unsigned char (&image)[kSettingsSize]);
void SettingsFromImage(Settings& settings, const unsigned char* image, std::size_t size);

// Length of the custom header template: up to its zero, at most 80 characters
// even when a loaded record has no zero in the field.
std::size_t CustomHeaderLength(const Settings& settings);
