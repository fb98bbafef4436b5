// The local date and time, replaceable by tests.
#pragma once

#include <functional>

namespace platform {

struct LocalTime {
    int year = 1970; // four digits
    int month = 1;   // 1 to 12
    int day = 1;     // 1 to 31
    int hour = 0;    // 0 to 23
    int minute = 0;
    int second = 0;
};

using ClockHandler = std::function<LocalTime()>;

// The current local date and time, or what the installed handler says.
LocalTime localTime();

// Installs a handler in place of the real clock; an empty one restores it. Returns the handler
// installed before.
ClockHandler setClockHandler(ClockHandler handler);

} // namespace platform
