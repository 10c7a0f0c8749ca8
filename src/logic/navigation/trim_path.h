#pragma once
#include <string>

namespace navigation {

// The path up to and including the last backslash before its last character;
// without one, the path unchanged. So "C:\a\b" gives "C:\a\" and "C:\a\" gives "C:\".
std::wstring TrimToLastFolder(const std::wstring& path);

// A typed or pasted path without surrounding blanks and one pair of surrounding
// double quotes (Explorer's "Copy as path" gives "C:\a b\c").
std::wstring CleanTypedPath(const std::wstring& path);

}  // namespace navigation
