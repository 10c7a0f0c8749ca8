// Lists the files to hash: depth first, each folder's files before its
// sub-folders, names in a stable case-insensitive order.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "mask.h"

namespace fciv {

struct FileItem {
    std::wstring path;  // full path, without the long-path prefix
    uint64_t size;
};

// Problems are reported through `warn` and the walk goes on.
std::vector<FileItem> ListFiles(const std::wstring& folder, const Mask& mask, bool recursive,
                                const std::function<void(const std::wstring&)>& warn);

// The full path of a folder; empty when it is not an existing folder.
std::wstring ExistingFolder(const std::wstring& folder);

// The form of a full path that the file calls take at any length.
std::wstring LongPath(const std::wstring& path);

// True when the folder's volume says it incurs a seek penalty (a rotating disk).
bool OnRotatingDisk(const std::wstring& folder);

}  // namespace fciv
