#include "SettingAssignment.h"

#include <cstdint>
#include <cstring>

#include "engine/SettingFields.h"

namespace {

bool ParseInt32(const std::string& text, int32_t& value) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  if (i == text.size()) return false;
  long long magnitude = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    magnitude = magnitude * 10 + (text[i] - '0');
    if (magnitude > 2147483648LL) return false;
  }
  const long long v = negative ? -magnitude : magnitude;
  if (v > 2147483647LL || v < -2147483648LL) return false;
  value = static_cast<int32_t>(v);
  return true;
}

}  // namespace

bool SetSettingsField(Settings& settings, const std::string& field, const std::string& value, std::string& error) {
  for (const SettingField& info : kSettingFields) {
    if (field != info.name) continue;
    switch (info.kind) {
      case SettingKind::kNumber:
      case SettingKind::kSwitch:
      case SettingKind::kChoice: {
        int32_t v = 0;
        if (!ParseInt32(value, v)) {
          error = "bad value for " + field + ": \"" + value + "\" is not a 32-bit decimal integer";
          return false;
        }
        settings.*(info.number) = v;
        return true;
      }
      case SettingKind::kChar:
        if (value.size() != 1) {
          error = "bad value for quoteChar: \"" + value + "\" is not one character";
          return false;
        }
        settings.quoteChar = value[0];
        return true;
      case SettingKind::kText:
        if (value.size() > kCustomHeaderMaxLength) {
          error = "bad value for customHeader: longer than 80 bytes";
          return false;
        }
        std::memset(settings.customHeader, 0, sizeof settings.customHeader);
        std::memcpy(settings.customHeader, value.data(), value.size());
        return true;
    }
  }
  error = "unknown field \"" + field + "\"";
  return false;
}

bool ApplySettingAssignment(Settings& settings, const std::string& assignment, std::string& error) {
  const std::size_t eq = assignment.find('=');
  if (eq == std::string::npos) {
    error = "--set " + assignment + ": expected FIELD=VALUE";
    return false;
  }
  return SetSettingsField(settings, assignment.substr(0, eq), assignment.substr(eq + 1), error);
}
