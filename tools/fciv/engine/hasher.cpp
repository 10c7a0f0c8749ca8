#include "fciv/engine/hasher.h"

#include <windows.h>
#include <bcrypt.h>
#include <winternl.h>

#include <optional>
#include <span>
#include <system_error>
#include <thread>

#include "fciv/core/xml_writer.h"
#include "fciv/engine/monitor.h"
#include "win32/handle.h"
#include "win32/paths.h"

namespace fciv {

namespace {

// The system's cryptography library, from the system folder only: a bcrypt.dll
// beside the tool is never loaded.
struct Cng {
    template <class F>
    F Get(const char* name) const {
        return module ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
    }
    HMODULE module = LoadLibraryExW(L"bcrypt.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    decltype(&BCryptOpenAlgorithmProvider) open = Get<decltype(open)>("BCryptOpenAlgorithmProvider");
    decltype(&BCryptGetProperty) property = Get<decltype(property)>("BCryptGetProperty");
    decltype(&BCryptCreateHash) create = Get<decltype(create)>("BCryptCreateHash");
    decltype(&BCryptHashData) data = Get<decltype(data)>("BCryptHashData");
    decltype(&BCryptFinishHash) finish = Get<decltype(finish)>("BCryptFinishHash");
    decltype(&BCryptDestroyHash) destroy = Get<decltype(destroy)>("BCryptDestroyHash");
    bool Complete() const { return open && property && create && data && finish && destroy; }
};

const Cng& Crypto() {
    static const Cng cng;
    return cng;
}

// A failed CNG call, with the system's error for it.
struct CngFailure {
    unsigned long error;
};

void Check(NTSTATUS status) {
    if (status < 0) throw CngFailure{RtlNtStatusToDosError(status)};
}

struct Provider {
    BCRYPT_ALG_HANDLE handle = nullptr;
    DWORD length = 0;  // of the digest
    NTSTATUS status = 0;
};

Provider Open(const wchar_t* algorithm) {
    Provider p;
    if (!Crypto().Complete()) {
        p.status = STATUS_DLL_NOT_FOUND;
        return p;
    }
    DWORD got = 0;
    p.status = Crypto().open(&p.handle, algorithm, nullptr, 0);
    if (p.status >= 0) p.status = Crypto().property(p.handle, BCRYPT_HASH_LENGTH, reinterpret_cast<PUCHAR>(&p.length), sizeof p.length, &got, 0);
    if (p.status >= 0 && p.length > 64) p.status = STATUS_INVALID_PARAMETER;  // a digest longer than the buffer for it
    return p;
}

// Opened once; CNG providers may be shared by threads.
const Provider& ProviderOf(common::Algorithm a) {
    static const std::array<Provider, common::AlgorithmCount> providers{Open(BCRYPT_MD5_ALGORITHM), Open(BCRYPT_SHA1_ALGORITHM),
                                                                Open(BCRYPT_SHA256_ALGORITHM), Open(BCRYPT_SHA384_ALGORITHM),
                                                                Open(BCRYPT_SHA512_ALGORITHM)};
    return providers[a];
}

// One hash of one file.
class Hash {
public:
    explicit Hash(const Provider& p) : length_(p.length) {
        Check(p.status);
        Check(Crypto().create(p.handle, &h_, nullptr, 0, nullptr, 0, 0));
    }
    ~Hash() {
        if (h_) Crypto().destroy(h_);
    }
    Hash(const Hash&) = delete;
    Hash& operator=(const Hash&) = delete;

    void Update(const unsigned char* data, size_t size) {
        Check(Crypto().data(h_, const_cast<PUCHAR>(data), static_cast<ULONG>(size), 0));
    }
    std::string Hex() {
        unsigned char digest[64];
        Check(Crypto().finish(h_, digest, length_, 0));
        return ToHex(digest, length_);
    }

private:
    BCRYPT_HASH_HANDLE h_ = nullptr;
    DWORD length_;
};

using Lanes = std::array<Hash*, common::AlgorithmCount>;

// Wine checks every page of a read's buffer: a small file is read into a small part of it.
constexpr DWORD FirstRead = 64 << 10;

}  // namespace

// A helper thread of a worker. For each split file the reader starts a session
// on each helper, publishes each chunk it reads into the ring and hashes it with
// the first hash; each helper hashes the same chunks with its own. A buffer is
// read into again only when every helper is done with it.
class Hasher::Helper {
public:
    Helper() : thread_([this] { Run(); }) {}
    ~Helper() {
        {
            Monitor::Hold hold(m_);
            quit_ = true;
        }
        m_.WakeAll();
        thread_.join();
    }

    void Start(Hash* const* hashes, size_t count) {
        Monitor::Hold hold(m_);
        std::copy(hashes, hashes + count, lanes_.begin());
        count_ = count;
        produced_ = consumed_ = 0;
        end_ = abort_ = false;
        error_ = 0;
        active_ = true;
    }
    // Waits until a buffer is free; the helper's error when it failed.
    unsigned long WaitForRoom() {
        Monitor::Hold hold(m_);
        while (produced_ - consumed_ >= RingSize && !error_) hold.Wait();
        return error_;
    }
    void Publish(const unsigned char* data, size_t size) {
        Monitor::Hold hold(m_);
        data_[produced_ % RingSize] = {data, size};
        ++produced_;
        m_.WakeAll();
    }
    // No more chunks: waits until the helper is done; its error.
    unsigned long Finish() {
        Monitor::Hold hold(m_);
        end_ = true;
        m_.WakeAll();
        while (active_) hold.Wait();
        return error_;
    }
    // Ends the session early; returns when the helper no longer reads a buffer.
    void Abort() {
        Monitor::Hold hold(m_);
        abort_ = true;
        m_.WakeAll();
        while (active_) hold.Wait();
    }

private:
    void Run() {
        Monitor::Hold hold(m_);
        for (;;) {
            while (!quit_ && !(active_ && (consumed_ < produced_ || end_ || abort_))) hold.Wait();
            if (quit_) return;
            if (abort_ || error_ || consumed_ == produced_) {
                active_ = false;
                m_.WakeAll();
                continue;
            }
            const auto [data, size] = data_[consumed_ % RingSize];
            hold.Release();
            unsigned long failed = 0;
            try {
                for (size_t i = 0; i < count_; ++i) lanes_[i]->Update(data, size);
            } catch (const CngFailure& f) {
                failed = f.error;
            }
            hold.Acquire();
            ++consumed_;
            if (failed) error_ = failed;
            m_.WakeAll();
        }
    }

    Monitor m_;
    Lanes lanes_{};
    size_t count_ = 0;
    std::array<std::pair<const unsigned char*, size_t>, RingSize> data_{};
    uint64_t produced_ = 0, consumed_ = 0;
    bool active_ = false, end_ = false, abort_ = false, quit_ = false;
    unsigned long error_ = 0;
    std::thread thread_;  // last: runs once the rest is ready
};

Hasher::Hasher(uint64_t splitAbove) : splitAbove_(splitAbove) {}

Hasher::~Hasher() = default;

unsigned char* Hasher::Buffer(size_t i) {
    if (!buffers_[i]) buffers_[i] = std::make_unique_for_overwrite<unsigned char[]>(ChunkSize);
    return buffers_[i].get();
}

unsigned long Hasher::HashFile(const std::wstring& path, uint64_t size, const common::Algorithms& algorithms, size_t spareCores,
                               FileHashes& out, const std::atomic<bool>& stop, std::atomic<uint64_t>& progress) {
    try {
        // Files that others have open for writing are read too, as backup tools do.
        const win32::UniqueFile file(CreateFileW(win32::ExtendedPath(path).c_str(), GENERIC_READ,
                                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                    OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        if (!file) return GetLastError();
        std::array<std::optional<Hash>, common::AlgorithmCount> hashes;
        Lanes lanes{};
        size_t count = 0;
        for (int a = common::AlgorithmCount - 1; a >= 0; --a)  // the longest digest, the slowest, on the reading thread
            if (algorithms[a]) lanes[count++] = &hashes[a].emplace(ProviderOf(common::Algorithm(a)));
        LARGE_INTEGER measured{};
        if (count > 1 && spareCores && size == UnknownSize && GetFileSizeEx(file.get(), &measured)) size = measured.QuadPart;
        // A helper a hash but the first, as far as cores are spare; the last helper takes the rest.
        size_t helpers = 0;
        if (count > 1 && spareCores && size != UnknownSize && size >= splitAbove_) {
            try {
                for (; helpers < std::min(count - 1, spareCores); ++helpers)
                    if (!helpers_[helpers]) helpers_[helpers] = std::make_unique<Helper>();
            } catch (const std::system_error&) {  // no other thread: one core does them all
            }
        }
        DWORD got = 0;
        if (helpers) {
            const std::span<std::unique_ptr<Helper>> used(helpers_.data(), helpers);
            for (size_t h = 0; h < helpers; ++h) used[h]->Start(lanes.data() + 1 + h, h + 1 < helpers ? 1 : count - helpers);
            const struct Guard {
                std::span<std::unique_ptr<Helper>> used;
                ~Guard() {
                    for (auto& helper : used) helper->Abort();
                }
            } guard{used};
            for (size_t k = 0;; ++k) {
                for (auto& helper : used)
                    if (const unsigned long error = helper->WaitForRoom()) return error;
                if (stop) return ERROR_OPERATION_ABORTED;
                unsigned char* buffer = Buffer(k % RingSize);
                if (!ReadFile(file.get(), buffer, ChunkSize, &got, nullptr)) return GetLastError();
                if (got == 0) break;
                for (auto& helper : used) helper->Publish(buffer, got);
                lanes[0]->Update(buffer, got);
                progress += got;
            }
            for (auto& helper : used)
                if (const unsigned long error = helper->Finish()) return error;
        } else {
            for (uint64_t read = 0;;) {
                if (stop) return ERROR_OPERATION_ABORTED;
                unsigned char* buffer = Buffer(0);
                // Asked for one byte past the size measured, a file that has not grown is read whole at
                // once; one of unknown size is begun with a small read, as most files are small.
                const DWORD want = size != UnknownSize && size - read < ChunkSize ? static_cast<DWORD>(size - read + 1)
                                   : read < FirstRead                           ? FirstRead
                                                                                : ChunkSize;
                if (!ReadFile(file.get(), buffer, want, &got, nullptr)) return GetLastError();
                if (got == 0) break;
                for (size_t i = 0; i < count; ++i) lanes[i]->Update(buffer, got);
                progress += got;
                read += got;
                if (got < want && read == size) break;
            }
        }
        for (int a = 0; a < common::AlgorithmCount; ++a)
            if (hashes[a]) out[a] = hashes[a]->Hex();
        return 0;
    } catch (const CngFailure& f) {
        return f.error;
    }
}

}  // namespace fciv
