#include "pipeline.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>

#include "console.h"

namespace fciv {

namespace {

constexpr uint64_t SplitAbove = 16u << 20;  // files this large may get their hashes on two cores

struct Slot {
    Result result;
    bool done = false;
};

// A worker's failure that is not the file's is recorded against the file.
unsigned long HashCaught(const Job& job, const HashRequest& request, FileHashes& out, const std::atomic<bool>& stop,
                         std::atomic<uint64_t>& progress) {
    try {
        return HashFile(job.path, request, out, stop, progress);
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

}  // namespace

uint64_t HashInOrder(const std::vector<Job>& jobs, bool oneAtATime, const std::atomic<bool>& stop,
                     const std::function<void(size_t, const Result&)>& take) {
    std::vector<Slot> slots(jobs.size());
    for (size_t i = 0; i < jobs.size(); ++i) slots[i] = {{{}, jobs[i].error}, jobs[i].error != 0};
    std::mutex m;
    std::condition_variable cv;
    std::atomic<size_t> next{0}, busy{0};
    std::atomic<uint64_t> bytes{0};
    const size_t cores = std::max(1u, std::thread::hardware_concurrency());
    const size_t workers = oneAtATime ? 1 : std::min(cores, std::max<size_t>(jobs.size(), 1));
    const auto work = [&] {
        for (size_t i; !stop && (i = next++) < jobs.size();) {
            if (jobs[i].error) continue;
            ++busy;
            // A large file's hashes on two cores whenever a core would otherwise idle.
            const auto split = [&](uint64_t size) {
                return size >= SplitAbove && busy + (jobs.size() - std::min(next.load(), jobs.size())) < cores;
            };
            Slot slot;
            slot.result.error = HashCaught(jobs[i], {jobs[i].algorithms, split}, slot.result.hashes, stop, bytes);
            slot.done = slot.result.error != ERROR_OPERATION_ABORTED;
            --busy;
            {
                std::lock_guard lock(m);
                slots[i] = std::move(slot);
            }
            cv.notify_all();
        }
    };
    std::vector<std::thread> pool;
    try {
        while (pool.size() < workers) pool.emplace_back(work);
    } catch (const std::system_error&) {  // run with the threads there are
    }
    if (pool.empty()) work();

    const auto started = std::chrono::steady_clock::now();
    const bool console = IsConsole(Stream::Err);
    size_t taken = 0;
    for (; taken < jobs.size() && !stop; ++taken) {
        std::unique_lock lock(m);
        while (!slots[taken].done && !stop) {
            if (!cv.wait_for(lock, std::chrono::milliseconds(250), [&] { return slots[taken].done || stop.load(); }) && console) {
                const double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
                const std::wstring& path = jobs[taken].path;
                std::wstring line = L"\r" + std::to_wstring(taken) + L"/" + std::to_wstring(jobs.size()) + L", " +
                                    Megabytes(bytes) + L" MB, " + Megabytes(static_cast<uint64_t>(bytes / std::max(secs, 0.001))) +
                                    L" MB/s: " + path.substr(path.find_last_of(L'\\') + 1);
                line.resize(static_cast<size_t>(std::max(ConsoleWidth() - 1, 20)), L' ');
                Print(Stream::Err, line);
            }
        }
        if (!slots[taken].done) break;
        lock.unlock();
        take(taken, slots[taken].result);
    }
    for (auto& t : pool) t.join();
    for (size_t i = taken; i < jobs.size(); ++i)  // what finished before the interruption
        if (slots[i].done) take(i, slots[i].result);
    if (console) Print(Stream::Err, L"\r" + std::wstring(static_cast<size_t>(std::max(ConsoleWidth() - 1, 20)), L' ') + L"\r");
    return bytes;
}

}  // namespace fciv
