// Names as the database and sums files write them, and the paths they stand for.
#pragma once
#include <string>

namespace fciv {

// The full path a written name stands for, relative to `base` (a full path:
// "C:\dir" or "\\host\share\dir"). "." and ".." are resolved as written; every
// other part is kept exactly, trailing dots and blanks included, so the file
// opened is the one the name was recorded for.
std::wstring ResolveName(const std::wstring& base, const std::wstring& name);

}  // namespace fciv
