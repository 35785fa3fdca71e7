// The command-line filter around the reply engine, kept apart from main() so
// that its option handling and exit codes can be tested in-process.
#pragma once

#include <cstdio>
#include <string>

#include "engine/Settings.h"
#include "engine/TextMeasure.h"

enum FilterExit { kFilterOk = 0, kFilterFileError = 1, kFilterUsageError = 2 };

// What the filter learns from the system it runs on.
struct FilterEnvironment {
  const TextMeasure* utf8 = nullptr;  // the UTF-8 measure; null in a build without one
  bool localeIsUtf8 = false;          // the user's locale has UTF-8 as its character set
};

// Runs the filter: argv[0] is the program name.  The body comes from the file
// named on the command line or from `input`; the result is written to
// `output` (binary), messages to `messages` (standard error).  Returns the
// exit status.
int RunReformatFilter(int argc, const char* const* argv, std::FILE* input, std::FILE* output, std::string& messages,
                      const FilterEnvironment& environment = FilterEnvironment());
