// Hashes of files through the system's cryptography library (CNG).
#pragma once
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "algorithms.h"

namespace fciv {

using FileHashes = std::array<std::string, AlgorithmCount>;  // lowercase hex; empty when not asked for

struct HashRequest {
    Algorithms algorithms{};
    // Asked with the file's size: whether a second core may take all hashes but the first.
    std::function<bool(uint64_t size)> split;
};

// Hashes one file, adding the bytes read to `progress`. Returns 0 or the
// system's error code (ERROR_OPERATION_ABORTED when `stop` was set).
unsigned long HashFile(const std::wstring& path, const HashRequest& request, FileHashes& out,
                       const std::atomic<bool>& stop, std::atomic<uint64_t>& progress);

}  // namespace fciv
