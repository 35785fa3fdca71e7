// "uninstall.dat" in the shape the installation run and the uninstaller use.
#pragma once

#include <string>
#include <vector>

// The lists of an uninstall record, as written and read.
struct RecordLists {
  std::string appName;
  std::vector<std::string> files;
  std::vector<std::string> shortcuts;
  std::vector<std::string> generatedFiles;
  std::string windowClass;
  std::string windowTitle;
  std::vector<std::string> nativeHosts;  // registry key names of the hosts
};

// Reads the record at path; the window texts only for the uninstaller.
// False when it is missing or unreadable.
bool LoadRecordLists(const char* path, bool forUninstaller, RecordLists& lists);

// Writes the record at path; false when it could not be written whole.
bool SaveRecordLists(const char* path, const RecordLists& lists);
