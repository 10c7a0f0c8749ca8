#include "win32/paths.h"

#include "common/paths.h"
#include "win32/handle.h"
#include "win32/win.h"

namespace win32 {

std::wstring FullPath(const std::wstring& path) {
    const DWORD n = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (n == 0) return {};
    std::wstring full(n, L'\0');
    full.resize(GetFullPathNameW(path.c_str(), n, full.data(), nullptr));
    return full;
}

std::wstring ExtendedPath(const std::wstring& fullPath) {
    if (fullPath.starts_with(L"\\\\?\\")) return fullPath;
    if (fullPath.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + fullPath.substr(2);
    return L"\\\\?\\" + fullPath;
}

std::wstring ExpandShortNames(const std::wstring& path) {
    const DWORD n = GetLongPathNameW(path.c_str(), nullptr, 0);
    if (n == 0) return path;
    std::wstring out(n, L'\0');
    out.resize(GetLongPathNameW(path.c_str(), out.data(), n));
    return out;
}

std::wstring FinalPath(HANDLE file) {
    const DWORD n = GetFinalPathNameByHandleW(file, nullptr, 0, FILE_NAME_NORMALIZED);
    if (n == 0) return {};
    std::wstring out(n, L'\0');
    out.resize(GetFinalPathNameByHandleW(file, out.data(), n, FILE_NAME_NORMALIZED));
    return out;
}

bool IsEntryItself(HANDLE file, const std::wstring& path) {
    const std::wstring folder = common::FolderPart(path);
    const UniqueFile self(CreateFileW(ExtendedPath(folder).c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    const std::wstring expected = self ? common::JoinPath(FinalPath(self.get()), path.substr(folder.size())) : L"";
    return !expected.empty() && CompareStringOrdinal(FinalPath(file).c_str(), -1, expected.c_str(), -1, TRUE) == CSTR_EQUAL;
}

}  // namespace win32
