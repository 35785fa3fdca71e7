// Which recorded shortcuts, and which of their folders, setup and the
// uninstaller may remove.
#pragma once

#include <string>

#include "setup/common/FileSystem.h"

// The folder holding a recorded shortcut, when it may be removed once empty:
// never a drive root and never a shell folder.
std::string RemovableShortcutFolder(const std::string& shortcutPath, FileSystem& fs);

// True for a recorded shortcut path that may be deleted: a full path of a
// ".lnk" file.
bool IsRemovableShortcut(const std::string& path);
