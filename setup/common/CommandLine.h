// The switches of setup and the uninstaller for unattended use, and the exit
// codes a silent setup ends with.  Without switches both programs behave as
// when started from a shortcut.
#pragma once

#include <string>
#include <vector>

struct SetupOptions {
  bool silent = false;       // "/S" anywhere before "/D="
  bool hasMenuName = false;  // "/M=name" or /M="name with blanks"
  std::string menuName;
  bool hasDestination = false;  // "/D=path", the rest of the line, no quotes
  std::string destination;
  std::vector<std::string> ignored;  // every other argument, as written
};

// Reads the arguments behind the program's name.  The switch letters may
// be written in either case.
SetupOptions ParseSetupCommandLine(const std::string& arguments);

// What a silent setup tells the script that started it.
enum SetupExitCode {
  kSetupExitInstalled = 0,
  kSetupExitPackageBad = 1,          // unreadable or corrupt package
  kSetupExitApplicationRunning = 2,  // nothing changed
  kSetupExitDestinationRefused = 3,  // form, space or creation of a folder
  kSetupExitInstallationFailed = 4,  // stopped while installing
};
