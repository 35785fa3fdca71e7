// kelvane-reformat --colour: the quote colouring of a message body's inner
// HTML as a filter, to preview what the watch does to a saved message.
#pragma once

#include <cstdio>
#include <string>

// True when the command line asks for the colour filter.
bool WantsColourFilter(int argc, const char* const* argv);

// Runs the colour filter (argv[0] is the program name); exit status as the
// reply filter's: 0 done, 1 file error, 2 bad usage.
int RunColourFilter(int argc, const char* const* argv, std::FILE* input, std::string& output, std::string& messages);
