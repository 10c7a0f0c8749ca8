// Paths as the file system takes them.
#pragma once
#include <string>

#include "win32/win.h"

namespace win32 {

// The full form of a path, relative to the current folder; empty when the system cannot make one.
std::wstring FullPath(const std::wstring& path);

// The form of a full path that the file functions take at any length: "\\?\C:\…", "\\?\UNC\host\…".
std::wstring ExtendedPath(const std::wstring& fullPath);

// The full path of an open file or folder as the system found it, links followed ("\\?\C:\…"); empty when it cannot tell.
std::wstring FinalPath(HANDLE file);

// Whether an open file is the very entry a full path names in its folder, not a file that a link in its
// place leads to (Wine's deleting through such a link removes what it leads to).
bool IsEntryItself(HANDLE file, const std::wstring& path);

// The path with its short (8.3) names written out as the file system spells them; as given when it cannot tell.
std::wstring ExpandShortNames(const std::wstring& path);

}  // namespace win32
