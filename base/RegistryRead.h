// What reading a text value from the registry found.
#pragma once

enum class RegistryRead {
  kOk,         // a string value was read
  kNoKey,      // the key cannot be opened for reading
  kNoValue,    // the value is missing
  kNotString,  // the value exists but holds no string
};
