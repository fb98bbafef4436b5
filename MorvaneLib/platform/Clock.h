// The local date and time: the current one, replaceable by tests, and that of any moment.
#pragma once

#include <ctime>
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

// The local date and time of a moment (seconds since 1970). False when the moment lies outside
// what the system's calendar can express; local is left untouched then.
bool toLocalTime(std::time_t seconds, LocalTime& local);

} // namespace platform
