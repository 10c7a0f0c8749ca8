// The tool's paths and files: paths as the command line gives them, folders that must exist,
// a file read a line at a time, the disk under a folder.
#pragma once
#include <functional>
#include <string>
#include <string_view>

namespace fciv {

// The full path of a path given on the command line, each part kept as written, trailing dots and
// blanks too (the system's own full path drops them and so names another file).
std::wstring ExactFullPath(const std::wstring& path);

// The full path of a folder; empty when it is not an existing folder.
std::wstring ExistingFolder(const std::wstring& folder);

// Hands each line of a file to `take` without its line end, reading the file in
// pieces: a line longer than `longest` bytes comes empty, marked too long.
// 0 or the system's error.
unsigned long ReadLines(const std::wstring& path, size_t longest, const std::function<void(std::string_view line, bool tooLong)>& take);

// True when the folder's volume says it incurs a seek penalty (a rotating disk).
bool OnRotatingDisk(const std::wstring& folder);

}  // namespace fciv
