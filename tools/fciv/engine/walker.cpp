#include "fciv/engine/walker.h"

#include <windows.h>

#include <algorithm>
#include <optional>

#include "common/paths.h"
#include "win32/handle.h"
#include "win32/paths.h"

namespace fciv {

namespace {

bool NameLess(const std::wstring& a, const std::wstring& b) {
    const int c = CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE);
    return c == CSTR_EQUAL ? a < b : c == CSTR_LESS_THAN;
}

// A folder met on the walk. Its identity is taken only when a link loop is
// in question: a loop can only close through a reparse point.
struct Folder {
    std::wstring path;
    size_t parent;
    bool reparse;
    std::optional<FileId> id = std::nullopt;
    bool idTaken = false;
};

class Walker {
public:
    Walker(const common::Mask& mask, bool recursive, const std::vector<OwnFile>& skip,
           const std::function<void(const std::wstring&)>& warn)
        : mask_(mask), recursive_(recursive), skip_(skip), warn_(warn) {}

    std::vector<FileItem> Walk(const std::wstring& top, const std::atomic<bool>& stop) {
        folders_.push_back({top, NoParent, false});
        std::vector<size_t> pending{0};
        while (!pending.empty() && !stop) {
            const size_t f = pending.back();
            pending.pop_back();
            if (folders_[f].reparse && ClosesLoop(f)) {
                warn_(L"Пропущена петля ссылок / link loop skipped: " + folders_[f].path);
                continue;
            }
            const size_t first = folders_.size();
            List(f);
            for (size_t i = folders_.size(); i > first; --i) pending.push_back(i - 1);  // first name on top
        }
        return std::move(result_);
    }

private:
    static constexpr size_t NoParent = static_cast<size_t>(-1);

    const std::optional<FileId>& Id(size_t f) {
        if (!folders_[f].idTaken) {
            folders_[f].id = IdOf(folders_[f].path);
            folders_[f].idTaken = true;
        }
        return folders_[f].id;
    }

    bool ClosesLoop(size_t f) {
        const auto& id = Id(f);
        if (!id) return false;
        for (size_t a = folders_[f].parent; a != NoParent; a = folders_[a].parent)
            if (Id(a) == id) return true;
        return false;
    }

    // Adds the folder's matching files to the result and its sub-folders to folders_.
    void List(size_t f) {
        const std::wstring folder = folders_[f].path;
        std::vector<FileItem> files;
        std::vector<std::pair<std::wstring, bool>> subfolders;  // name, reparse point
        WIN32_FIND_DATAW data;
        const win32::UniqueFind find(FindFirstFileExW(win32::ExtendedPath(common::JoinPath(folder, L"*")).c_str(), FindExInfoBasic, &data,
                                                         FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
        if (!find) {
            const DWORD error = GetLastError();
            if (error != ERROR_FILE_NOT_FOUND) result_.push_back({common::WithBackslash(folder), 0, error});
            return;
        }
        do {
            const std::wstring name = data.cFileName;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                if (name != L"." && name != L"..")
                    subfolders.emplace_back(name, (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0);
            } else if (mask_.Matches(name) && !Own(folder, name)) {
                files.push_back({common::JoinPath(folder, name), (uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow});
            }
        } while (FindNextFileW(find.get(), &data));
        std::sort(files.begin(), files.end(), [](const FileItem& a, const FileItem& b) { return NameLess(a.path, b.path); });
        result_.insert(result_.end(), std::make_move_iterator(files.begin()), std::make_move_iterator(files.end()));
        if (!recursive_) return;
        std::sort(subfolders.begin(), subfolders.end(), [](const auto& a, const auto& b) { return NameLess(a.first, b.first); });
        for (auto& [name, reparse] : subfolders) folders_.push_back({common::JoinPath(folder, name), f, reparse});
    }

    // One of the tool's own files, through whatever link or spelling the walk came.
    bool Own(const std::wstring& folder, const std::wstring& name) const {
        return std::any_of(skip_.begin(), skip_.end(), [&](const OwnFile& own) {
            return CompareStringOrdinal(own.name.c_str(), static_cast<int>(own.name.size()), name.c_str(), static_cast<int>(name.size()),
                                        TRUE) == CSTR_EQUAL &&
                   IdOf(common::JoinPath(folder, name)) == own.id;
        });
    }

    const common::Mask& mask_;
    bool recursive_;
    const std::vector<OwnFile>& skip_;
    const std::function<void(const std::wstring&)>& warn_;
    std::vector<Folder> folders_;  // every folder met; parents come before their children
    std::vector<FileItem> result_;
};

}  // namespace

std::optional<FileId> IdOf(const std::wstring& path) {
    const win32::UniqueFile h(CreateFileW(win32::ExtendedPath(path).c_str(), FILE_READ_ATTRIBUTES,
                                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                             OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info;
    if (!h || !GetFileInformationByHandle(h.get(), &info)) return std::nullopt;
    return FileId{info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
}

std::vector<FileItem> ListFiles(const std::wstring& folder, const common::Mask& mask, bool recursive,
                                const std::vector<OwnFile>& skip, const std::atomic<bool>& stop,
                                const std::function<void(const std::wstring&)>& warn) {
    return Walker(mask, recursive, skip, warn).Walk(folder, stop);
}

}  // namespace fciv
