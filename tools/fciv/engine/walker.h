// Lists the files to hash: depth first, each folder's files before its
// sub-folders, names in a stable case-insensitive order.
#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/mask.h"

namespace fciv {

struct FileItem {
    std::wstring path;  // full path, without the long-path prefix; a folder's ends in '\'
    uint64_t size = 0;
    unsigned long error = 0;  // a folder that could not be listed, with the system's error
};

// What a file is under every name and spelling: its volume and its index there.
struct FileId {
    unsigned long volume, high, low;
    bool operator==(const FileId&) const = default;
};

// The identity of a file or folder; none when it cannot be opened.
std::optional<FileId> IdOf(const std::wstring& path);

// One of the tool's own files: its long name, which the listing compares
// first, and its identity, which decides.
struct OwnFile {
    std::wstring name;
    FileId id;
};

// Folders that cannot be listed come back as items with their error, in the
// place their files would have had. The tool's own files (`skip`) are left
// out, however the walk reaches them. `warn` hears of skipped link loops; the
// walk ends early, with what it has, when `stop` is set.
std::vector<FileItem> ListFiles(const std::wstring& folder, const common::Mask& mask, bool recursive,
                                const std::vector<OwnFile>& skip, const std::atomic<bool>& stop,
                                const std::function<void(const std::wstring&)>& warn);

}  // namespace fciv
