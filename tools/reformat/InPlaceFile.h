// Rewriting a file in place, as the editor hook of a terminal mail client
// needs it: whole or not at all.
#pragma once

#include <string>

// Replaces the contents of the file `path` by `data`: the data goes into a
// new file in the same folder, is flushed to the disk, and is then renamed
// over the original, which keeps its permissions and owner.  A symbolic link
// is followed, so the file it names is replaced.  On failure the original is
// untouched, nothing is left behind, and `error` says what failed.
bool ReplaceFileContents(const std::string& path, const std::string& data, std::string& error);
