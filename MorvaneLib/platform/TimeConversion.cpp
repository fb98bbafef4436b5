#include "platform/TimeConversion.h"

#include <climits>
#include <time.h>

namespace platform {

bool toLocalTime(std::time_t seconds, LocalTime& local)
{
    struct tm parts {};
    if (::localtime_r(&seconds, &parts) == nullptr || parts.tm_year > INT_MAX - 1900)
        return false;
    local.year = parts.tm_year + 1900;
    local.month = parts.tm_mon + 1;
    local.day = parts.tm_mday;
    local.hour = parts.tm_hour;
    local.minute = parts.tm_min;
    local.second = parts.tm_sec;
    return true;
}

} // namespace platform
