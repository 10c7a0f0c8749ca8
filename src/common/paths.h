// Windows paths as text: nothing here asks the file system.
#pragma once
#include <string>

namespace common {

// The folder with one trailing backslash: "C:\a" gives "C:\a\", "C:\" stays.
std::wstring WithBackslash(std::wstring folder);

// A name in a folder: "C:\a" + "b" gives "C:\a\b", "C:\" + "b" gives "C:\b".
std::wstring JoinPath(const std::wstring& folder, const std::wstring& name);

// The path up to and including its last backslash: "C:\a\b.xml" gives "C:\a\".
std::wstring FolderPart(const std::wstring& path);

// The folder that holds a path, as the system writes folders: "C:\a\b.xml" gives "C:\a",
// "C:\b.xml" gives "C:\"; '/' separates too; a path without a separator gives itself.
std::wstring FolderOf(const std::wstring& path);

}  // namespace common
