// Folders and drives as the lists show them, and their failures in the
// program's numbering: a drive that cannot be reached 68, a missing folder 76.
#pragma once
#include <string>
#include <vector>

namespace win32 {

bool IsDrivePath(const std::wstring& path);
// "C:\" for a drive path, "\\server\share" for a network path.
std::wstring RootOf(const std::wstring& path);
bool Reachable(const std::wstring& folder);

// The full, canonical form of a folder path, without a trailing backslash
// except for a drive's root; throws 76 or 68 when it cannot be reached.
std::wstring ResolveFolder(const std::wstring& path);
// Where the lists open: the current folder, or the program's own when that has gone.
std::wstring StartFolder();

// The names of a folder's sub-folders (hidden ones left out), or of its files.
std::vector<std::wstring> SubfolderNames(const std::wstring& folder);
std::vector<std::wstring> FileNames(const std::wstring& folder);
// Sorts names as the user's locale orders them, ignoring case.
void SortNames(std::vector<std::wstring>& names);

// The drives' roots ("C:\"), at once: nothing is asked of the drives themselves.
std::vector<std::wstring> DriveRoots();
// A drive's volume label, or empty. A drive that does not answer (a network
// drive gone, a disk asleep) can take long: not on the window's thread.
// Tests put a reader of their own in its place.
extern std::wstring (*VolumeLabel)(const std::wstring& root);

}  // namespace win32
