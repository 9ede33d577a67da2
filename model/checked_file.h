// Replacing a file so that a failure at any point leaves the old file whole:
// the new bytes go to a temporary file beside it, every write, fsync and close
// is checked, and only then is it renamed over the old one. A link is followed
// to the file it names, and the new file keeps the old one's mode and owner.
#pragma once

#include <cstddef>
#include <string>

// Writes `size` bytes to `path`. On failure returns false with `error` set to a
// one-line reason naming the file; the old file (if any) is untouched.
// With `keepBackup` the replaced file stays as PATH.bak.
bool ReplaceFileChecked(const char* path, const char* data, size_t size, bool keepBackup, std::string& error);
