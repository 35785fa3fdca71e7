// "uninstall.dat" in the shape the installation run and the uninstaller use.
#pragma once

#include "InstallRun.h"

// Reads the record at path; the window texts only for the uninstaller.
// False when it is missing or unreadable.
bool LoadRecordLists(const char* path, bool forUninstaller, RecordLists& lists);

// Writes the record at path; false when it could not be written whole.
bool SaveRecordLists(const char* path, const RecordLists& lists);
