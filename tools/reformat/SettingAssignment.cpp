#include "SettingAssignment.h"

#include "ReformatFilter.h"

bool ApplySettingAssignment(Settings& settings, const std::string& assignment, std::string& error) {
  const std::size_t eq = assignment.find('=');
  if (eq == std::string::npos) {
    error = "--set " + assignment + ": expected FIELD=VALUE";
    return false;
  }
  return SetSettingsField(settings, assignment.substr(0, eq), assignment.substr(eq + 1), error);
}
