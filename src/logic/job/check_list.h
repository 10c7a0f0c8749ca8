// Files the window checks instead of opening their folder: lists of hashes the
// tool can check against.
#pragma once
#include <string>
#include <string_view>

namespace job {

enum class ListKind {
    None,      // any other file
    Database,  // a database the tool wrote
    Sums,      // a sums file, or a report the window saved
};

// What a file is, told by its name and its first bytes.
ListKind KindOfList(std::wstring_view fileName, std::string_view head);

// Whether a file's first bytes are a report the window saved with names
// relative to the folder that was hashed (no drive, no \\server).
bool IsReportOfRelativeNames(std::string_view head);

// The tool's parameters that check the list, writing the verdicts to `verdicts`;
// relative names are found in `folder` when it is given, else where the tool runs.
std::wstring CheckParameters(ListKind kind, const std::wstring& list, const std::wstring& folder, const std::wstring& verdicts);

// The name of the verdicts' file for the n-th of the checks that run at once.
std::wstring VerdictsName(int n);

}  // namespace job
