#pragma once
#include <string>

namespace app {

// The folder with exactly one trailing backslash; a drive's root keeps its own.
std::wstring AppDirFrom(std::wstring folder);

}  // namespace app
