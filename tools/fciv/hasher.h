// MD5 and SHA-1 of files through the system's cryptography library (CNG).
#pragma once
#include <atomic>
#include <cstdint>
#include <string>

namespace fciv {

struct FileHashes {
    std::string md5, sha1;  // lowercase hex; empty when not asked for
};

struct HashRequest {
    bool md5 = false, sha1 = false;
    bool split = false;  // both hashes on two cores from the same buffers
};

// Hashes one file, adding the bytes read to `progress`. Returns 0 or the
// system's error code (ERROR_OPERATION_ABORTED when `stop` was set).
unsigned long HashFile(const std::wstring& path, const HashRequest& request, FileHashes& out,
                       const std::atomic<bool>& stop, std::atomic<uint64_t>& progress);

}  // namespace fciv
