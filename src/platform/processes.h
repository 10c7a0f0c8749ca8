// The system's process list.
#pragma once
#include <string>

#include "platform/handle.h"

namespace platform {

// A snapshot of the running processes, closed when it goes out of scope.
class ProcessSnapshot {
public:
    ProcessSnapshot();
    explicit operator bool() const { return static_cast<bool>(snapshot_); }
    // The next process's image name; false when none is left.
    bool Next(std::wstring& imageName);

private:
    UniqueFile snapshot_;
    bool first_ = true;
};

}  // namespace platform
