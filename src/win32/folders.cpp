#include "win32/folders.h"

#include <algorithm>
#include <cwctype>

#include "common/paths.h"
#include "win32/files.h"
#include "win32/handle.h"
#include "win32/paths.h"
#include "win32/win_error.h"

namespace win32 {

namespace {

// The names in a folder whose attributes `keep` accepts, without "." and "..".
template <class Keep>
std::vector<std::wstring> ListFolder(const std::wstring& folder, bool dirsOnly, Keep keep) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    win32::UniqueFind find(FindFirstFileExW(common::JoinPath(folder, L"*").c_str(), FindExInfoBasic, &data,
                                     dirsOnly ? FindExSearchLimitToDirectories : FindExSearchNameMatch, nullptr,
                                     FIND_FIRST_EX_LARGE_FETCH));
    if (!find) return names;
    do {
        const std::wstring name = data.cFileName;
        if (name != L"." && name != L".." && keep(data.dwFileAttributes)) names.push_back(name);
    } while (FindNextFileW(find.get(), &data));
    return names;
}

std::wstring CurrentFolder() {
    DWORD n = GetCurrentDirectoryW(0, nullptr);
    std::wstring dir(n, L'\0');
    dir.resize(GetCurrentDirectoryW(n, dir.data()));
    return dir;
}

}  // namespace

std::wstring StartFolder() {
    try {
        return ResolveFolder(CurrentFolder());
    } catch (const common::RuntimeError&) {
        return ResolveFolder(ExecutableFolder());
    }
}

bool IsDrivePath(const std::wstring& p) { return p.size() >= 2 && p[1] == L':' && std::iswalpha(p[0]); }

std::wstring RootOf(const std::wstring& path) {
    if (IsDrivePath(path)) return path.substr(0, 2) + L"\\";
    size_t slash = path.find(L'\\', 2);
    if (slash != std::wstring::npos) slash = path.find(L'\\', slash + 1);
    return path.substr(0, slash);
}

bool Reachable(const std::wstring& folder) {
    const DWORD attrs = GetFileAttributesW(folder.c_str());
    return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::wstring> SubfolderNames(const std::wstring& folder) {
    auto names = ListFolder(folder, true, [](DWORD a) { return (a & FILE_ATTRIBUTE_DIRECTORY) && !(a & FILE_ATTRIBUTE_HIDDEN); });
    SortNames(names);
    return names;
}

std::vector<std::wstring> FileNames(const std::wstring& folder) {
    return ListFolder(folder, false, [](DWORD a) { return !(a & FILE_ATTRIBUTE_DIRECTORY); });
}

std::vector<std::wstring> DriveRoots() {
    std::wstring buffer(GetLogicalDriveStringsW(0, nullptr), L'\0');
    buffer.resize(GetLogicalDriveStringsW(static_cast<DWORD>(buffer.size()), buffer.data()));
    std::vector<std::wstring> roots;
    for (const wchar_t* root = buffer.c_str(); *root; root += wcslen(root) + 1) roots.emplace_back(root);
    return roots;
}

namespace {
std::wstring ReadVolumeLabel(const std::wstring& root) {
    wchar_t label[MAX_PATH + 1] = L"";
    DWORD oldMode = 0;  // no "insert a disk" box: this thread's mode only
    SetThreadErrorMode(SEM_FAILCRITICALERRORS, &oldMode);
    GetVolumeInformationW(root.c_str(), label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0);
    SetThreadErrorMode(oldMode, nullptr);
    return label;
}
}  // namespace

std::wstring (*VolumeLabel)(const std::wstring& root) = ReadVolumeLabel;

void SortNames(std::vector<std::wstring>& names) {
    // One sort key per name, compared as bytes: the locale is consulted once a name.
    std::vector<std::pair<std::string, std::wstring*>> keyed;
    keyed.reserve(names.size());
    for (auto& name : names) {
        const int n = LCMapStringEx(LOCALE_NAME_USER_DEFAULT, LCMAP_SORTKEY | NORM_IGNORECASE, name.c_str(),
                                    static_cast<int>(name.size()), nullptr, 0, nullptr, nullptr, 0);
        std::string key(static_cast<size_t>(std::max(n, 0)), '\0');
        LCMapStringEx(LOCALE_NAME_USER_DEFAULT, LCMAP_SORTKEY | NORM_IGNORECASE, name.c_str(), static_cast<int>(name.size()),
                      reinterpret_cast<LPWSTR>(key.data()), n, nullptr, nullptr, 0);
        keyed.emplace_back(std::move(key), &name);
    }
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::wstring> sorted;
    sorted.reserve(names.size());
    for (auto& [key, name] : keyed) sorted.push_back(std::move(*name));
    names = std::move(sorted);
}

std::wstring ResolveFolder(const std::wstring& path) {
    if (path.empty()) throw common::RuntimeError(common::err::PathNotFound);
    std::wstring full;
    if (IsDrivePath(path) && (path.size() == 2 || path[2] == L' ')) {
        // A drive list's text: that drive's current folder, else its root.
        full = win32::FullPath(path.substr(0, 2));
        if (!full.empty() && !Reachable(full)) full = RootOf(full);
    } else {
        full = win32::FullPath(path);
    }
    if (full.empty()) ThrowLastError();
    const DWORD attrs = GetFileAttributesW(full.c_str());
    if (attrs == INVALID_FILE_ATTRIBUTES) {
        const DWORD code = GetLastError();
        if (!Reachable(RootOf(full))) throw common::RuntimeError(common::err::DeviceUnavailable);
        if (code == ERROR_FILE_NOT_FOUND) throw common::RuntimeError(common::err::PathNotFound);
        throw FromWin32(code);
    }
    if (!(attrs & FILE_ATTRIBUTE_DIRECTORY)) throw common::RuntimeError(common::err::PathNotFound);
    full = win32::ExpandShortNames(full);
    if (full.size() > RootOf(full).size() && full.back() == L'\\') full.pop_back();
    if (IsDrivePath(full)) full[0] = static_cast<wchar_t>(std::towupper(full[0]));
    return full;
}

}  // namespace win32
