#include "fciv/engine/pipeline.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <new>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

#include "fciv/engine/console.h"
#include "fciv/engine/monitor.h"

namespace fciv {

namespace {

constexpr size_t Window = 4096;             // jobs held at most: read ahead of the oldest unfinished one
constexpr size_t Batch = 64;                // jobs read before the workers hear of them

struct Slot {
    Job job;
    Result result;
    bool done = false;
};

// A worker's failure that is not the file's is recorded against the file.
unsigned long HashCaught(Hasher& hasher, const Job& job, size_t spareCores, FileHashes& out, const std::atomic<bool>& stop,
                         std::atomic<uint64_t>& progress) {
    try {
        return hasher.HashFile(job.path, job.size, job.algorithms, spareCores, out, stop, progress);
    } catch (const std::bad_alloc&) {
        return ERROR_NOT_ENOUGH_MEMORY;
    } catch (const std::system_error&) {
        return ERROR_NO_SYSTEM_RESOURCES;
    } catch (...) {
        return ERROR_INTERNAL_ERROR;
    }
}

std::wstring Megabytes(uint64_t bytes) {
    wchar_t text[32];
    swprintf(text, 32, L"%.1f", static_cast<double>(bytes) / 1048576.0);
    return text;
}

// The jobs in flight, shared by the reader-and-taker and the workers. Jobs
// [taken, produced) are in the ring; workers claim them in order.
class Ring {
public:
    Ring(const std::atomic<bool>& stop, size_t cores) : slots_(Window), stop_(stop), cores_(cores) {}

    Slot& operator[](size_t i) { return slots_[i % Window]; }

    // Makes jobs up to `produced` claimable; `exhausted`: there will be no more.
    void Publish(size_t produced, bool exhausted) {
        {
            Monitor::Hold lock(m_);
            produced_ = produced;
            exhausted_ = exhausted;
        }
        m_.WakeAll();
    }

    // Hashes the next unclaimed job; false when there is none now.
    bool HashOne(Monitor::Hold& lock, Hasher& hasher) {
        if (claimed_ == produced_ || stop_ || quit_) return false;
        Slot& slot = (*this)[claimed_++];
        ++busy_;
        // A large file's hashes on the cores that would otherwise idle.
        const size_t waiting = busy_ + (produced_ - claimed_);
        const size_t spare = exhausted_ && waiting < cores_ ? cores_ - waiting : 0;
        lock.Release();
        Result r;
        r.error = slot.job.error ? slot.job.error : HashCaught(hasher, slot.job, spare, r.hashes, halt_, bytes_);
        lock.Acquire();
        --busy_;
        slot.done = r.error != ERROR_OPERATION_ABORTED || !halt_;  // left because the run stops, or the file's own error
        slot.result = std::move(r);
        m_.WakeAll();
        return true;
    }

    void Work() {
        Hasher hasher;
        Monitor::Hold lock(m_);
        for (;;) {
            while (!(quit_ || stop_ || claimed_ < produced_ || exhausted_)) lock.Wait();
            if (!HashOne(lock, hasher) && (quit_ || stop_ || exhausted_)) return;
        }
    }

    // Waits until slot i is done or the run stops; calls `idle` every 250 ms.
    // `hasher`: hash here, there being no worker threads.
    bool WaitFor(size_t i, Hasher* hasher, const std::function<void()>& idle) {
        Monitor::Hold lock(m_);
        Slot& slot = (*this)[i];
        while (!slot.done && !stop_) {
            if (hasher) {
                if (!HashOne(lock, *hasher)) break;
            } else if (!lock.Wait(250) && !slot.done) {
                lock.Release();
                idle();
                lock.Acquire();
            }
        }
        if (stop_) halt_ = true;  // the files being hashed are left
        return slot.done;
    }

    // Ends the work: the files being hashed are left at once.
    void Quit() {
        halt_ = true;
        {
            Monitor::Hold lock(m_);
            quit_ = true;
        }
        m_.WakeAll();
    }

    uint64_t Bytes() const { return bytes_; }

private:
    std::vector<Slot> slots_;
    const std::atomic<bool>& stop_;
    const size_t cores_;
    Monitor m_;
    size_t produced_ = 0, claimed_ = 0, busy_ = 0;
    bool exhausted_ = false, quit_ = false;
    std::atomic<uint64_t> bytes_{0};
    std::atomic<bool> halt_{false};  // the hashing stops: the run was stopped, or ends early
};

// The worker threads, stopped and joined on every way out.
class Workers {
public:
    Workers(Ring& ring, size_t count) : ring_(ring) {
        try {
            while (threads_.size() < count) threads_.emplace_back([&ring] { ring.Work(); });
        } catch (const std::system_error&) {  // run with the threads there are
        }
    }
    ~Workers() { Join(); }
    void Join() {
        ring_.Quit();
        for (auto& t : threads_)
            if (t.joinable()) t.join();
    }
    bool None() const { return threads_.empty(); }

private:
    Ring& ring_;
    std::vector<std::thread> threads_;
};

}  // namespace

uint64_t HashInOrder(const JobSource& next, size_t total, bool oneAtATime, const std::atomic<bool>& stop,
                     const TakeResult& take) {
    const size_t cores = std::max(1u, std::thread::hardware_concurrency());
    Ring ring(stop, cores);
    size_t produced = 0, taken = 0;
    bool exhausted = false;
    // Reads jobs until the ring is full, telling the workers every batch.
    const auto fill = [&] {
        for (size_t batch = 0; !exhausted && !stop && produced < taken + Window; ++produced) {
            ring[produced] = Slot{};
            exhausted = !next(ring[produced].job);
            if (exhausted) break;
            if (++batch == Batch) ring.Publish(produced + 1, false), batch = 0;
        }
        ring.Publish(produced, exhausted);
    };
    Workers workers(ring, oneAtATime ? 1 : cores);

    const auto started = std::chrono::steady_clock::now();
    const bool console = IsConsole(Stream::Err);
    auto shown = started;
    // A few times a second, however small the files: while one is waited for, and as they are taken.
    const auto progress = [&] {
        const auto now = std::chrono::steady_clock::now();
        if (!console || now - shown < std::chrono::milliseconds(200)) return;
        shown = now;
        const double secs = std::chrono::duration<double>(now - started).count();
        const std::wstring& path = ring[taken].job.path;
        std::wstring line = L"\r" + std::to_wstring(taken) + (total ? L"/" + std::to_wstring(total) : L"") + L", " +
                            Megabytes(ring.Bytes()) + L" MB, " +
                            Megabytes(static_cast<uint64_t>(ring.Bytes() / std::max(secs, 0.001))) +
                            L" MB/s: " + path.substr(path.find_last_of(L'\\') + 1);
        line.resize(static_cast<size_t>(std::max(ConsoleWidth() - 1, 20)), L' ');
        Print(Stream::Err, line);
    };
    std::optional<Hasher> here;  // when no worker thread could be made
    if (workers.None()) here.emplace();
    fill();
    for (; taken < produced && ring.WaitFor(taken, here ? &*here : nullptr, progress); ++taken) {
        take(ring[taken].job, ring[taken].result);
        progress();
        if (produced - taken < Window / 2) fill();
    }
    workers.Join();
    for (size_t i = taken; i < produced; ++i)  // what finished before the interruption
        if (ring[i].done) take(ring[i].job, ring[i].result);
    if (console) Print(Stream::Err, L"\r" + std::wstring(static_cast<size_t>(std::max(ConsoleWidth() - 1, 20)), L' ') + L"\r");
    return ring.Bytes();
}

}  // namespace fciv
