// The hashing workers and the ordered hand-over of what they finish: the
// engine that recording and checking share.
#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "hasher.h"

namespace fciv {

struct Job {
    std::wstring path;         // full path, without the long-path prefix
    Algorithms algorithms{};
    unsigned long error = 0;   // set: nothing to hash, the result is this error
};

struct Result {
    FileHashes hashes;
    unsigned long error = 0;
};

// Hashes the jobs on all cores (on one at a time when `oneAtATime`: a rotating
// disk) and hands each result to `take` in the jobs' order as soon as it and
// those before it are done. When `stop` is set the hashing ends, and what was
// finished is still handed over, in order. Shows progress on a console.
// Returns the bytes read.
uint64_t HashInOrder(const std::vector<Job>& jobs, bool oneAtATime, const std::atomic<bool>& stop,
                     const std::function<void(size_t index, const Result&)>& take);

}  // namespace fciv
