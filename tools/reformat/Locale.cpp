#include "Locale.h"

#include <langinfo.h>

#include <clocale>
#include <cstring>

bool LocaleIsUtf8() {
  if (std::setlocale(LC_CTYPE, "") == nullptr) return false;
  const char* codeset = nl_langinfo(CODESET);
  return codeset != nullptr && (std::strcmp(codeset, "UTF-8") == 0 || std::strcmp(codeset, "utf8") == 0);
}
