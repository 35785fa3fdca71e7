#include "../Locale.h"

// The Windows tools work in the ANSI code page: always bytes.
bool LocaleIsUtf8() {
  return false;
}
