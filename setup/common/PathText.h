// Path texts as the installer and the uninstaller handle them: names that come
// from an uninstall record, a setup script or an archive are checked before
// they are joined to a directory, and joined paths are refused, never cut,
// when they would not fit the ANSI file API.
#pragma once

#include <cstddef>
#include <string>

// Longest path the ANSI file functions accept, including the terminating zero.
constexpr std::size_t kPathCapacity = 260;

// True for a name that can only resolve below the directory it is joined to:
// not empty, no drive or stream colon, no leading separator, no empty, "." or
// ".." component (nor one of dots and blanks only, which Windows trims to
// those), no wildcard or control character.  A single trailing separator, as
// archive directory entries carry, is allowed.
bool IsSafeRelativeName(const std::string& name);

// True for a single path component that can name a file in a folder (a
// shortcut's description, for example): a safe relative name without a
// separator.
bool IsSafeFileName(const std::string& name);

// Compares two names as the Windows file system does for the names this
// system handles: ASCII letters folded, '/' read as '\'.
bool SameFileName(const std::string& a, const std::string& b);

// out = dir + '\' + name, with a trailing backslash of dir not doubled.
// False, with out left unchanged, when the result would not fit kPathCapacity.
bool JoinPath(std::string& out, const std::string& dir, const std::string& name);

// The text before the last backslash; empty when there is none.
std::string ParentPath(const std::string& path);

// True when path names a file strictly below dir (compared as SameFileName).
bool IsInsideDirectory(const std::string& path, const std::string& dir);

// True when path ends in ".lnk" (ASCII case folded).
bool HasLinkExtension(const std::string& path);

// Number of backslashes in a relative directory name, not counting one in
// its first character.
int DirectoryDepth(const std::string& directory);

// True for a name that can stand as one registry key or value name below a
// known key: not empty, no backslash, no control character, shorter than
// the 256 bytes setup and the uninstaller keep for it.
bool IsSafeKeyName(const std::string& name);

// True for a native messaging host's name as Mozilla's applications accept
// it: words of ASCII letters, digits and '_' joined by single dots.  Such a
// name is also a safe key name.
bool IsNativeHostName(const std::string& name);
