// Options record fields set by name from text: --set FIELD=VALUE, and the
// options of the Thunderbird host's requests.
#pragma once

#include <string>

#include "engine/Settings.h"

// Sets one field of the record by its name from text, as --set does.  On
// failure returns false and puts a one-line reason into `error`.
bool SetSettingsField(Settings& settings, const std::string& field, const std::string& value, std::string& error);

// Splits at the first '=' and sets the field as SetSettingsField does.  On
// failure returns false and puts a one-line reason into `error`.
bool ApplySettingAssignment(Settings& settings, const std::string& assignment, std::string& error);
