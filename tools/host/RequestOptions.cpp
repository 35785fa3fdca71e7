#include "RequestOptions.h"

#include "engine/ReplyFormatter.h"
#include "engine/SettingFields.h"
#include "tools/reformat/SettingAssignment.h"

namespace {

const SettingField* FindField(const std::string& name) {
  for (const SettingField& field : kSettingFields)
    if (name == field.name) return &field;
  return nullptr;
}

// The value as --set would spell it, or false with the reason.
bool ValueText(const SettingField& field, const HostJson& value, std::string& text, std::string& reason) {
  switch (field.kind) {
    case SettingKind::kSwitch:
      if (value.is_boolean()) {
        text = value.get<bool>() ? "1" : "0";
        return true;
      }
      if (value.is_number_integer() && (value == 0 || value == 1)) {
        text = value == 1 ? "1" : "0";
        return true;
      }
      reason = "not 0, 1, true or false";
      return false;
    case SettingKind::kNumber:
    case SettingKind::kChoice:
      if (value.is_number_unsigned()) {
        text = std::to_string(value.get<unsigned long long>());
        return true;
      }
      if (value.is_number_integer()) {
        text = std::to_string(value.get<long long>());
        return true;
      }
      reason = "not a whole number";
      return false;
    case SettingKind::kChar:
    case SettingKind::kText:
      if (!value.is_string()) {
        reason = "not a string";
        return false;
      }
      text = value.get_ref<const std::string&>();
      return true;
  }
  reason = "not settable";
  return false;
}

}  // namespace

bool ApplyRequestOptions(Settings& settings, const HostJson& options, std::string& error) {
  for (auto member = options.begin(); member != options.end(); ++member) {
    const std::string& name = member.key();
    const std::string where = "options." + name + ": ";
    const SettingField* field = FindField(name);
    if (field == nullptr) {
      error = where + "unknown option";
      return false;
    }
    std::string text;
    std::string reason;
    if (!ValueText(*field, member.value(), text, reason)) {
      error = where + reason;
      return false;
    }
    if (field->kind == SettingKind::kText) {
      // The record ends the template at its first zero: a zero inside would
      // cut it short without a word.
      if (text.find('\0') != std::string::npos) {
        error = where + "holds a zero character";
        return false;
      }
      if (!ReplyFormatter::IsValidCustomHeader(text)) {
        error = where + "refused: it would read as an attribution header itself";
        return false;
      }
    }
    if (!SetSettingsField(settings, name, text, reason)) {
      error = where + reason;
      return false;
    }
  }
  return true;
}
