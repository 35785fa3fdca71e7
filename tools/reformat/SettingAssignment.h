// One --set option, "FIELD=VALUE", applied to the options record.
#pragma once

#include <string>

#include "engine/Settings.h"

// Splits at the first '=' and sets the field as SetSettingsField does.  On
// failure returns false and puts a one-line reason into `error`.
bool ApplySettingAssignment(Settings& settings, const std::string& assignment, std::string& error);
