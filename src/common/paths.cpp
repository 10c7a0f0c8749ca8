#include "common/paths.h"

namespace common {

std::wstring WithBackslash(std::wstring folder) {
    if (folder.empty() || folder.back() != L'\\') folder += L'\\';
    return folder;
}

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name) { return WithBackslash(folder) + name; }

std::wstring FolderPart(const std::wstring& path) { return path.substr(0, path.find_last_of(L'\\') + 1); }

std::wstring FolderOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(0, slash == 2 && path[1] == L':' ? 3 : slash);
}

}  // namespace common
