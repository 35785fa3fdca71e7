// Saving the options file so that a failed write never leaves it truncated.
#pragma once

#include "engine/Settings.h"

// Writes the record to "<path>.tmp" and then puts that file in place of
// path.  Returns true on failure (like SaveSettings); the old file is then
// untouched and the temporary file removed.
bool SaveSettingsReplacing(const Settings& settings, const char* path = kSettingsFile);
