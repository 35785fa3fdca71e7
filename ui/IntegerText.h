// Whole numbers as dialog edit fields hold them.
#pragma once

#include <cstdint>
#include <string>

namespace ui {

// Reads a decimal whole number the way a user types one into an edit field:
// blanks around it are allowed, a sign is allowed, nothing else is.  A number
// outside the 32-bit range is refused rather than wrapped.  On failure value
// is left unchanged.
bool ParseDialogInteger(const std::string& text, int32_t& value);

std::string FormatDialogInteger(int32_t value);

}  // namespace ui
