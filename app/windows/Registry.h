// Reading string values from the registry.
#pragma once

#include <windows.h>

#include <string>

#include "app/Startup.h"

// Reads a string value (valueName nullptr: the key's default value) with a
// buffer sized from the value itself.  The key is opened for reading only.
// Only REG_SZ and REG_EXPAND_SZ count (the latter expanded); the text stops
// at its first zero whether or not the stored bytes carry one.
RegistryRead ReadRegistryString(HKEY root, const char* subKey, const char* valueName, std::string& value);
