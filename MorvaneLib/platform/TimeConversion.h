// Conversion of file times (seconds since 1970) into the local date and time.
#pragma once

#include "platform/Clock.h"

#include <ctime>

namespace platform {

// The local date and time of a moment. False when the moment lies outside what the system's
// calendar can express; local is left untouched then.
bool toLocalTime(std::time_t seconds, LocalTime& local);

} // namespace platform
