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

// The tool's parameters that check the list, writing the verdicts to `verdicts`.
std::wstring CheckParameters(ListKind kind, const std::wstring& list, const std::wstring& verdicts);

// The name of the verdicts' file for the n-th of the checks that run at once.
std::wstring VerdictsName(int n);

}  // namespace job
