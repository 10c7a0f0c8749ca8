#pragma once
#include <string>

namespace navigation {

// The path up to and including the last backslash before its last character;
// without one, the path unchanged. So "C:\a\b" gives "C:\a\" and "C:\a\" gives "C:\".
std::wstring TrimToLastFolder(const std::wstring& path);

}  // namespace navigation
