#include "walker.h"

#include <windows.h>
#include <winioctl.h>

#include <algorithm>
#include <set>
#include <tuple>

namespace fciv {

namespace {

struct FileId {
    DWORD volume, high, low;
    bool operator<(const FileId& o) const {
        return std::tie(volume, high, low) < std::tie(o.volume, o.high, o.low);
    }
};

bool IdOf(const std::wstring& folder, FileId& id) {
    const HANDLE h = CreateFileW(LongPath(folder).c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    BY_HANDLE_FILE_INFORMATION info;
    const bool ok = GetFileInformationByHandle(h, &info);
    CloseHandle(h);
    id = {info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
    return ok;
}

bool NameLess(const std::wstring& a, const std::wstring& b) {
    const int c = CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE);
    return c == CSTR_EQUAL ? a < b : c == CSTR_LESS_THAN;
}

std::wstring Join(const std::wstring& folder, const std::wstring& name) {
    return folder.back() == L'\\' ? folder + name : folder + L'\\' + name;
}

class Walker {
public:
    Walker(const Mask& mask, bool recursive, const std::function<void(const std::wstring&)>& warn)
        : mask_(mask), recursive_(recursive), warn_(warn) {}

    void Walk(const std::wstring& folder) {
        FileId id{};
        const bool known = IdOf(folder, id);
        if (known && !ancestors_.insert(id).second) {
            warn_(L"Пропущена петля ссылок / link loop skipped: " + folder);
            return;
        }
        std::vector<FileItem> files;
        std::vector<std::wstring> folders;
        WIN32_FIND_DATAW data;
        const HANDLE find = FindFirstFileExW(LongPath(Join(folder, L"*")).c_str(), FindExInfoBasic, &data,
                                             FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
        if (find == INVALID_HANDLE_VALUE) {
            if (GetLastError() != ERROR_FILE_NOT_FOUND) warn_(L"Нет доступа к папке / cannot list folder: " + folder);
        } else {
            do {
                const std::wstring name = data.cFileName;
                if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    if (name != L"." && name != L"..") folders.push_back(name);
                } else if (mask_.Matches(name)) {
                    files.push_back({Join(folder, name), (uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow});
                }
            } while (FindNextFileW(find, &data));
            FindClose(find);
        }
        std::sort(files.begin(), files.end(), [](const FileItem& a, const FileItem& b) { return NameLess(a.path, b.path); });
        result.insert(result.end(), files.begin(), files.end());
        if (recursive_) {
            std::sort(folders.begin(), folders.end(), NameLess);
            for (const auto& name : folders) Walk(Join(folder, name));
        }
        if (known) ancestors_.erase(id);
    }

    std::vector<FileItem> result;

private:
    const Mask& mask_;
    bool recursive_;
    const std::function<void(const std::wstring&)>& warn_;
    std::set<FileId> ancestors_;  // the folders on the way down: a link back to one would loop
};

}  // namespace

std::wstring LongPath(const std::wstring& path) {
    if (path.rfind(L"\\\\?\\", 0) == 0) return path;
    if (path.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + path.substr(2);
    return L"\\\\?\\" + path;
}

std::wstring ExistingFolder(const std::wstring& folder) {
    const DWORD n = GetFullPathNameW(folder.c_str(), 0, nullptr, nullptr);
    if (n == 0) return {};
    std::wstring full(n, L'\0');
    full.resize(GetFullPathNameW(folder.c_str(), n, full.data(), nullptr));
    const DWORD attrs = GetFileAttributesW(LongPath(full).c_str());
    if (attrs == INVALID_FILE_ATTRIBUTES || !(attrs & FILE_ATTRIBUTE_DIRECTORY)) return {};
    if (full.size() > 3 && full.back() == L'\\') full.pop_back();
    return full;
}

std::vector<FileItem> ListFiles(const std::wstring& folder, const Mask& mask, bool recursive,
                                const std::function<void(const std::wstring&)>& warn) {
    Walker walker(mask, recursive, warn);
    walker.Walk(folder);
    return std::move(walker.result);
}

bool OnRotatingDisk(const std::wstring& folder) {
    if (folder.size() < 2 || folder[1] != L':') return false;
    const std::wstring volume = L"\\\\.\\" + folder.substr(0, 2);
    const HANDLE h = CreateFileW(volume.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    STORAGE_PROPERTY_QUERY query{};
    query.PropertyId = StorageDeviceSeekPenaltyProperty;
    query.QueryType = PropertyStandardQuery;
    DEVICE_SEEK_PENALTY_DESCRIPTOR penalty{};
    DWORD bytes = 0;
    const bool ok = DeviceIoControl(h, IOCTL_STORAGE_QUERY_PROPERTY, &query, sizeof query, &penalty, sizeof penalty,
                                    &bytes, nullptr);
    CloseHandle(h);
    return ok && bytes >= sizeof penalty && penalty.IncursSeekPenalty;
}

}  // namespace fciv
