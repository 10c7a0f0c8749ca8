// Hashes of files through the system's cryptography library (CNG).
#pragma once
#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "common/algorithms.h"

namespace fciv {

using FileHashes = common::HexHashes;  // empty when not asked for

inline constexpr uint64_t UnknownSize = ~uint64_t{0};
inline constexpr size_t ChunkSize = 4 << 20;  // read at a time
inline constexpr size_t RingSize = 4;         // chunks a split file's faster hash may run ahead

// What one worker thread owns for every file it hashes: its read buffers and,
// from its first split file on, a helper thread for each hash but the first,
// each reading from a ring of buffers at its own pace.
class Hasher {
public:
    // Files of `splitAbove` bytes or more are split when the caller allows it.
    explicit Hasher(uint64_t splitAbove = 16u << 20);
    ~Hasher();
    Hasher(const Hasher&) = delete;
    Hasher& operator=(const Hasher&) = delete;

    // Hashes one file, adding the bytes read to `progress`; `size` is what the
    // listing measured, or UnknownSize. `spareCores`: how many other cores are
    // free for it. Returns 0 or the system's error code (ERROR_OPERATION_ABORTED
    // when `stop` was set).
    unsigned long HashFile(const std::wstring& path, uint64_t size, const common::Algorithms& algorithms, size_t spareCores,
                           FileHashes& out, const std::atomic<bool>& stop, std::atomic<uint64_t>& progress);

private:
    class Helper;
    unsigned char* Buffer(size_t i);

    const uint64_t splitAbove_;
    std::array<std::unique_ptr<unsigned char[]>, RingSize> buffers_;
    std::array<std::unique_ptr<Helper>, common::AlgorithmCount - 1> helpers_;
};

}  // namespace fciv
