// Texts and commands of the link controls that need no window.
#pragma once

#include <string>

// "Unable to open hyperlink:\n\n" and the words for a shell result code.
std::string LinkErrorMessage(int code);

// The command that opens target with the program registered for web pages:
// the registered open command cut at its first "\"%1\"" (else at its first
// "%1"), a blank, and the target.
std::string BrowserCommandFor(const std::string& openCommand, const std::string& target);
