// A local date and time, as the clock gives it.
#pragma once

namespace logic {

struct DateTime {
    int year, month, day, hour, minute, second;
};

}  // namespace logic
