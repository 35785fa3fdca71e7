// The shell's special folders, from the "Shell Folders" table and, where that
// has no entry, from the shell itself.
#pragma once

#include <windows.h>

#include <string>

// The folder stored under valueName in root's "Shell Folders" key.
bool ReadShellFolder(HKEY root, const char* valueName, std::string& path);

// ReadShellFolder, else the shell's own answer for csidl.  False when
// neither knows the folder.
bool FindShellFolder(HKEY root, const char* valueName, int csidl, std::string& path);
