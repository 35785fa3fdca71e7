// The character set of the user's locale.
#pragma once

// True when the locale of the environment (LC_ALL, LC_CTYPE, LANG) has UTF-8
// as its character set.  Sets the process's LC_CTYPE from the environment.
bool LocaleIsUtf8();
