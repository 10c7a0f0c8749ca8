// Names as the database and sums files write them, and the paths they stand for.
#pragma once
#include <string>

namespace fciv {

// The full path a written name stands for, relative to `base` (a full path:
// "C:\dir" or "\\host\share\dir"). "." and ".." are resolved as written; every
// other part is kept exactly, trailing dots and blanks included, so the file
// opened is the one the name was recorded for.
std::wstring ResolveName(const std::wstring& base, const std::wstring& name);

// The last part of a listed path: a file's name, or a folder's with its '\'.
std::wstring LastName(const std::wstring& path);

}  // namespace fciv
