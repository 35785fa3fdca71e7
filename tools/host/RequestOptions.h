// A request's "options": fields of the options record by the names of
// engine/SettingFields.h, set as kelvane-reformat --set sets them.
#pragma once

#include <string>

#include "HostJson.h"
#include "engine/Settings.h"

// Sets every member of `options` (an object) on the record.  Switches take
// 0, 1, true or false, numbers whole numbers, quoteChar a string of one byte,
// customHeader a template that the custom header dialog would take.  On the
// first member that does not fit, returns false with the reason in `error`.
bool ApplyRequestOptions(Settings& settings, const HostJson& options, std::string& error);
