// The hashing workers and the ordered hand-over of what they finish: the
// engine that recording and checking share.
#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "fciv/engine/hasher.h"

namespace fciv {

struct Job {
    std::wstring path;         // full path, without the long-path prefix
    std::wstring name;         // as the database or the sums file names it
    uint64_t size = UnknownSize;  // as the listing measured it
    common::Algorithms algorithms{};
    FileHashes expected;       // checking: the hashes to compare with; empty where none
    bool guessed = false;      // checking: their algorithm told by the hash's length alone
    unsigned long error = 0;   // set: nothing to hash, the result is this error
};

struct Result {
    FileHashes hashes;
    unsigned long error = 0;
};

// Fills in the next job and returns true; false when there are no more.
using JobSource = std::function<bool(Job&)>;
using TakeResult = std::function<void(const Job&, const Result&)>;

// Hashes the jobs on all cores (on one at a time when `oneAtATime`: a rotating
// disk) and hands each result to `take` in the jobs' order as soon as it and
// those before it are done. Only a bounded number of jobs is held at a time,
// so the source may be read as the work goes. When `stop` is set the hashing
// ends, and what was finished is still handed over, in order. Shows progress
// on a console (`total`: the number of jobs, 0 when not known). Returns the
// bytes read.
uint64_t HashInOrder(const JobSource& next, size_t total, bool oneAtATime, const std::atomic<bool>& stop,
                     const TakeResult& take);

}  // namespace fciv
