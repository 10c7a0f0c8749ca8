// A local date and time, as the clock gives it.
#pragma once

namespace platform {

struct DateTime {
    int year, month, day, hour, minute, second;
};

}  // namespace platform
