#include "hasher.h"

#include <windows.h>
#include <bcrypt.h>

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/handle.h"
#include "walker.h"
#include "xml_writer.h"

namespace fciv {

namespace {

constexpr size_t ChunkSize = 4 << 20;

BCRYPT_ALG_HANDLE Provider(const wchar_t* algorithm) {
    BCRYPT_ALG_HANDLE alg = nullptr;
    if (BCryptOpenAlgorithmProvider(&alg, algorithm, nullptr, 0) != 0) throw std::runtime_error("no CNG provider");
    return alg;
}

// Opened once; CNG providers may be shared by threads.
BCRYPT_ALG_HANDLE ProviderOf(Algorithm a) {
    static const std::array<BCRYPT_ALG_HANDLE, AlgorithmCount> providers{
        Provider(BCRYPT_MD5_ALGORITHM), Provider(BCRYPT_SHA1_ALGORITHM), Provider(BCRYPT_SHA256_ALGORITHM),
        Provider(BCRYPT_SHA384_ALGORITHM), Provider(BCRYPT_SHA512_ALGORITHM)};
    return providers[a];
}

class Hash {
public:
    explicit Hash(BCRYPT_ALG_HANDLE alg) {
        if (BCryptCreateHash(alg, &h_, nullptr, 0, nullptr, 0, 0) != 0) throw std::runtime_error("BCryptCreateHash");
        DWORD got = 0;
        BCryptGetProperty(alg, BCRYPT_HASH_LENGTH, reinterpret_cast<PUCHAR>(&length_), sizeof length_, &got, 0);
    }
    ~Hash() { BCryptDestroyHash(h_); }
    Hash(const Hash&) = delete;
    Hash& operator=(const Hash&) = delete;

    void Update(const unsigned char* data, size_t size) { BCryptHashData(h_, const_cast<PUCHAR>(data), static_cast<ULONG>(size), 0); }
    std::string Hex() {
        unsigned char digest[64];
        BCryptFinishHash(h_, digest, length_, 0);
        return ToHex(digest, length_);
    }

private:
    BCRYPT_HASH_HANDLE h_ = nullptr;
    DWORD length_ = 0;
};

// A second core's worth of work: runs one task at a time for its owner.
class Lane {
public:
    Lane() : thread_([this] { Loop(); }) {}
    ~Lane() {
        {
            std::lock_guard lock(m_);
            quit_ = true;
        }
        cv_.notify_all();
        thread_.join();
    }
    void Post(std::function<void()> task) {
        {
            std::lock_guard lock(m_);
            task_ = std::move(task);
        }
        cv_.notify_all();
    }
    void Wait() {
        std::unique_lock lock(m_);
        cv_.wait(lock, [this] { return !task_; });
    }

private:
    void Loop() {
        std::unique_lock lock(m_);
        for (;;) {
            cv_.wait(lock, [this] { return quit_ || task_; });
            if (quit_) return;
            lock.unlock();
            task_();
            lock.lock();
            task_ = nullptr;
            cv_.notify_all();
        }
    }
    std::mutex m_;
    std::condition_variable cv_;
    std::function<void()> task_;
    bool quit_ = false;
    std::thread thread_;
};

}  // namespace

unsigned long HashFile(const std::wstring& path, const HashRequest& request, FileHashes& out,
                       const std::atomic<bool>& stop, std::atomic<uint64_t>& progress) {
    // Files that others have open for writing are read too, as backup tools do.
    const platform::UniqueFile file(CreateFileW(LongPath(path).c_str(), GENERIC_READ,
                                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return GetLastError();
    std::vector<std::pair<Algorithm, std::unique_ptr<Hash>>> hashes;
    for (int a = 0; a < AlgorithmCount; ++a)
        if (request.algorithms[a]) hashes.emplace_back(Algorithm(a), std::make_unique<Hash>(ProviderOf(Algorithm(a))));
    LARGE_INTEGER size{};
    std::unique_ptr<Lane> lane;  // takes every hash but the first
    if (hashes.size() > 1 && request.split && GetFileSizeEx(file.get(), &size) && request.split(size.QuadPart)) {
        try {
            lane = std::make_unique<Lane>();
        } catch (const std::system_error&) {  // no second thread: one core does them all
        }
    }
    const auto update = [&](size_t from, size_t to, const unsigned char* data, size_t n) {
        for (size_t h = from; h < to; ++h) hashes[h].second->Update(data, n);
    };

    // Each worker thread keeps its two buffers for all its files.
    thread_local const std::unique_ptr<unsigned char[]> buffers[2] = {std::make_unique_for_overwrite<unsigned char[]>(ChunkSize),
                                                                      std::make_unique_for_overwrite<unsigned char[]>(ChunkSize)};
    unsigned long error = 0;
    DWORD got = 0;
    if (!ReadFile(file.get(), buffers[0].get(), ChunkSize, &got, nullptr)) error = GetLastError();
    for (int k = 0; !error && got > 0; k ^= 1) {
        if (stop) {
            error = ERROR_OPERATION_ABORTED;
            break;
        }
        const unsigned char* data = buffers[k].get();
        const size_t n = got;
        if (lane) lane->Post([&, data, n] { update(1, hashes.size(), data, n); });
        if (!ReadFile(file.get(), buffers[k ^ 1].get(), ChunkSize, &got, nullptr)) error = GetLastError();
        update(0, lane ? 1 : hashes.size(), data, n);
        if (lane) lane->Wait();
        progress += n;
    }
    if (error) return error;
    for (auto& [a, hash] : hashes) out[a] = hash->Hex();
    return 0;
}

}  // namespace fciv
