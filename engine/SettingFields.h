// The options record's fields, one row each: the name a field goes by (the
// record's member, and the FIELD of kelvane-reformat's --set), what it holds,
// its place in the file image and its default.  The file image, the
// defaults, --set and the option dialogs all work from this one list.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/Settings.h"

enum class SettingKind : uint8_t {
  kNumber,  // int32: a column, a count or milliseconds; an edit field
  kSwitch,  // int32: off (0) or on; a check box
  kChoice,  // int32: an index into a list (HeaderStyle); a drop-down list
  kChar,    // one byte: the quote character
  kText,    // kCustomHeaderSize bytes: the custom header template and its zero
};

struct SettingField {
  const char* name;
  SettingKind kind;
  std::size_t offset;                         // in the file image
  std::size_t size;                           // in the file image
  int32_t Settings::*number;                  // kNumber, kSwitch, kChoice
  char Settings::*character;                  // kChar
  char (Settings::*text)[kCustomHeaderSize];  // kText
  int32_t defaultNumber;                      // kNumber, kSwitch, kChoice, kChar
  const char* defaultText;                    // kText
};

constexpr SettingField Int32Setting(const char* name, SettingKind kind, std::size_t offset, int32_t Settings::*member,
                                    int32_t value) {
  return {name, kind, offset, 4, member, nullptr, nullptr, value, nullptr};
}
constexpr SettingField CharSetting(const char* name, std::size_t offset, char Settings::*member, char value) {
  return {name, SettingKind::kChar, offset, 1, nullptr, member, nullptr, value, nullptr};
}
constexpr SettingField TextSetting(const char* name, std::size_t offset, char (Settings::*member)[kCustomHeaderSize],
                                   const char* value) {
  return {name, SettingKind::kText, offset, kCustomHeaderSize, nullptr, nullptr, member, 0, value};
}

// The three bytes after the quote character belong to no field: a loaded
// file's bytes are carried through, a fresh record has zeros.
constexpr std::size_t kSettingsFillerOffset = 5;
constexpr std::size_t kSettingsFillerSize = 3;

// In file order.
inline constexpr SettingField kSettingFields[] = {
    Int32Setting("wrapColumn", SettingKind::kNumber, 0, &Settings::wrapColumn, 72),
    CharSetting("quoteChar", 4, &Settings::quoteChar, '>'),
    Int32Setting("compressedIndentation", SettingKind::kSwitch, 8, &Settings::compressedIndentation, 1),
    Int32Setting("dependOnOE", SettingKind::kSwitch, 12, &Settings::dependOnOE, 1),
    Int32Setting("headerStyle", SettingKind::kChoice, 16, &Settings::headerStyle, kHeaderStyleShort),
    Int32Setting("cursorAtTop", SettingKind::kSwitch, 20, &Settings::cursorAtTop, 1),
    Int32Setting("moveSignatureToBottom", SettingKind::kSwitch, 24, &Settings::moveSignatureToBottom, 1),
    Int32Setting("ignoreHtmlMessages", SettingKind::kSwitch, 28, &Settings::ignoreHtmlMessages, 1),
    Int32Setting("oeReactionDelay", SettingKind::kNumber, 32, &Settings::oeReactionDelay, 200),
    Int32Setting("clipboardOpenTimeout", SettingKind::kNumber, 36, &Settings::clipboardOpenTimeout, 500),
    Int32Setting("checkInterval", SettingKind::kNumber, 40, &Settings::checkInterval, 300),
    Int32Setting("displayWarningsOnErrors", SettingKind::kSwitch, 44, &Settings::displayWarningsOnErrors, 1),
    Int32Setting("coloring", SettingKind::kSwitch, 48, &Settings::coloring, 1),
    Int32Setting("compositionInitDelay", SettingKind::kNumber, 52, &Settings::compositionInitDelay, 0),
    Int32Setting("compatibilityMode", SettingKind::kSwitch, 56, &Settings::compatibilityMode, 0),
    Int32Setting("useClipboard", SettingKind::kSwitch, 60, &Settings::useClipboard, 0),
    Int32Setting("stripQuotedSignature", SettingKind::kSwitch, 64, &Settings::stripQuotedSignature, 1),
    TextSetting("customHeader", 68, &Settings::customHeader, "%n <%m> scribbled:\\n"),
    Int32Setting("isoSignatureFix", SettingKind::kSwitch, 152, &Settings::isoSignatureFix, 0),
    Int32Setting("fixExistingQuotes", SettingKind::kSwitch, 156, &Settings::fixExistingQuotes, 1),
    Int32Setting("colorComposition", SettingKind::kSwitch, 160, &Settings::colorComposition, 0),
    Int32Setting("reformatHtml", SettingKind::kSwitch, 164, &Settings::reformatHtml, 0),
};

// The row of a 32-bit member (every one has a row), or nullptr.
const SettingField* FindSettingField(int32_t Settings::*member);
