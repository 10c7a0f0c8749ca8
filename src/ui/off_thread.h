// Work that grows with the folder runs off the window's thread, while the window answers.
#pragma once
#include <exception>
#include <optional>
#include <thread>
#include <type_traits>

#include "logic/results/hash_report.h"
#include "ui/event_pump.h"
#include "win32/handle.h"

namespace ui {

// Runs `work(progress)` on a thread of its own and handles the window's events until it is
// done, telling `shown` how far it is now and then. Its result, or its exception thrown
// here; nothing when the window has gone meanwhile (the work is asked to stop and waited for).
template <class Work, class Shown>
auto OffThread(FormWindow& window, const Work& work, const Shown& shown) -> std::optional<std::invoke_result_t<Work, results::Progress&>> {
    results::Progress progress;
    std::optional<std::invoke_result_t<Work, results::Progress&>> result;
    std::exception_ptr failure;
    const win32::UniqueHandle done(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    std::thread worker([&] {
        try {
            result.emplace(work(progress));
        } catch (...) {
            failure = std::current_exception();
        }
        SetEvent(done.get());
    });
    bool live = true;
    while (live && WaitForSingleObject(done.get(), 0) != WAIT_OBJECT_0) {
        shown(progress.percent.load());
        live = WaitHandlingEvents(window, 0.1, done.get());
    }
    progress.stop = !live;
    worker.join();
    if (!live) return std::nullopt;
    if (failure) std::rethrow_exception(failure);
    return result;
}

}  // namespace ui
