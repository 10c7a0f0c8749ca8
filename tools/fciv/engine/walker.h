// Lists the files to hash: depth first, each folder's files before its
// sub-folders, names in a stable case-insensitive order.
#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
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

// The full path of a path given on the command line, each part kept as written, trailing dots and
// blanks too (the system's own full path drops them and so names another file).
std::wstring ExactFullPath(const std::wstring& path);

// The full path of a folder; empty when it is not an existing folder.
std::wstring ExistingFolder(const std::wstring& folder);

// Hands each line of a file to `take` without its line end, reading the file in
// pieces: a line longer than `longest` bytes comes empty, marked too long.
// 0 or the system's error.
unsigned long ReadLines(const std::wstring& path, size_t longest, const std::function<void(std::string_view line, bool tooLong)>& take);

// True when the folder's volume says it incurs a seek penalty (a rotating disk).
bool OnRotatingDisk(const std::wstring& folder);

}  // namespace fciv
