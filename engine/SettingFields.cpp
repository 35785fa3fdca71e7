#include "engine/SettingFields.h"

namespace {

constexpr std::size_t ImageSize(SettingKind kind) {
  return kind == SettingKind::kChar ? 1 : kind == SettingKind::kText ? kCustomHeaderSize : 4;
}

constexpr std::size_t TextLength(const char* text) {
  std::size_t n = 0;
  while (text[n] != '\0') ++n;
  return n;
}

constexpr bool IsInt32(SettingKind kind) {
  return kind != SettingKind::kChar && kind != SettingKind::kText;
}

// The rows and the filler tile the file image in order, each row the size
// its kind takes and with the one member pointer its kind uses, and the
// default template fits the field with its zero.
constexpr bool RowsAreSound() {
  std::size_t next = 0;
  for (const SettingField& f : kSettingFields) {
    if (next == kSettingsFillerOffset) next += kSettingsFillerSize;
    if (f.offset != next || f.size != ImageSize(f.kind)) return false;
    if ((f.number != nullptr) != IsInt32(f.kind) || (f.character != nullptr) != (f.kind == SettingKind::kChar) ||
        (f.text != nullptr) != (f.kind == SettingKind::kText))
      return false;
    if (f.kind == SettingKind::kText && TextLength(f.defaultText) > kCustomHeaderMaxLength) return false;
    next += f.size;
  }
  return next == kSettingsSize;
}
static_assert(RowsAreSound(), "kSettingFields must describe every byte of the file image once, in order");

}  // namespace

const SettingField* FindSettingField(int32_t Settings::*member) {
  for (const SettingField& f : kSettingFields)
    if (member != nullptr && f.number == member) return &f;
  return nullptr;
}
