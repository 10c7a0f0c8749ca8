#include "fciv/files.h"

#include <windows.h>
#include <winioctl.h>

#include <algorithm>
#include <cstdint>

#include "fciv/core/names.h"
#include "win32/files.h"
#include "win32/handle.h"
#include "win32/paths.h"

namespace fciv {

std::wstring ExactFullPath(const std::wstring& path) {
    std::wstring name = path;
    std::replace(name.begin(), name.end(), L'/', L'\\');
    const bool onDrive = name.size() >= 2 && name[1] == L':' && (name.size() == 2 || name[2] != L'\\');  // "D:x": in D:'s current folder
    return ResolveName(win32::FullPath(onDrive ? name.substr(0, 2) : L"."), onDrive ? name.substr(2) : name);
}

std::wstring ExistingFolder(const std::wstring& folder) {
    std::wstring full = ExactFullPath(folder);
    if (full.empty()) return {};
    const DWORD attrs = GetFileAttributesW(win32::ExtendedPath(full).c_str());
    if (attrs == INVALID_FILE_ATTRIBUTES || !(attrs & FILE_ATTRIBUTE_DIRECTORY)) return {};
    if (full.size() > 3 && full.back() == L'\\') full.pop_back();
    return full;
}

unsigned long ReadLines(const std::wstring& path, size_t longest, const std::function<void(std::string_view, bool)>& take) {
    const win32::UniqueFile file(CreateFileW(win32::ExtendedPath(ExactFullPath(path)).c_str(), GENERIC_READ,
                                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return GetLastError();
    std::string line;
    bool tooLong = false;
    const auto give = [&] {
        if (line.ends_with('\r')) line.pop_back();
        tooLong = tooLong || line.size() > longest;
        take(tooLong ? std::string_view() : std::string_view(line), tooLong);
        line.clear();
        tooLong = false;
    };
    const unsigned long error = win32::ReadPieces(file.get(), UINT64_MAX, [&](std::string_view piece) {
        while (!piece.empty()) {
            const size_t end = piece.find('\n');
            const std::string_view part = piece.substr(0, end);
            tooLong = tooLong || line.size() + part.size() > longest + 1;  // the '\r' before the '\n' does not count
            if (!tooLong) line += part;
            if (end == std::string_view::npos) break;
            piece.remove_prefix(end + 1);
            give();
        }
    });
    if (error) return error;
    if (!line.empty() || tooLong) give();
    return 0;
}

bool OnRotatingDisk(const std::wstring& folder) {
    if (folder.size() < 2 || folder[1] != L':') return false;
    const win32::UniqueFile h(CreateFileW((L"\\\\.\\" + folder.substr(0, 2)).c_str(), 0,
                                             FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!h) return false;
    STORAGE_PROPERTY_QUERY query{};
    query.PropertyId = StorageDeviceSeekPenaltyProperty;
    query.QueryType = PropertyStandardQuery;
    DEVICE_SEEK_PENALTY_DESCRIPTOR penalty{};
    DWORD bytes = 0;
    const bool ok = DeviceIoControl(h.get(), IOCTL_STORAGE_QUERY_PROPERTY, &query, sizeof query, &penalty, sizeof penalty,
                                    &bytes, nullptr);
    return ok && bytes >= sizeof penalty && penalty.IncursSeekPenalty;
}

}  // namespace fciv
