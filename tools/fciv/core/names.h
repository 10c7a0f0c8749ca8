// Names as the database and sums files write them, and the paths they stand for.
#pragma once
#include <string>
#include <string_view>

namespace fciv {

// The full path a written name stands for, relative to `base` (a full path:
// "C:\dir" or "\\host\share\dir"). "." and ".." are resolved as written; every
// other part is kept exactly, trailing dots and blanks included, so the file
// opened is the one the name was recorded for.
std::wstring ResolveName(const std::wstring& base, const std::wstring& name);

// A name no folder can apply to: "C:\x", "C:x", "\x".
bool IsFullPath(std::wstring_view name);

// A sums line as md5sum and sha256sum write it: "HASH  NAME"; a name with a line
// break is escaped ('\\', "\\n", "\\r") and its line marked with a leading '\\'.
std::wstring SumsLine(std::string_view hex, std::wstring_view name);

}  // namespace fciv
