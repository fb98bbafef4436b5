#include "platform/Clock.h"

#include <climits>
#include <mutex>
#include <time.h>

namespace platform {
namespace {

std::mutex handlerMutex;
ClockHandler installedHandler;

} // namespace

LocalTime localTime()
{
    ClockHandler handler;
    {
        std::lock_guard lock(handlerMutex);
        handler = installedHandler;
    }
    if (handler)
        return handler();

    LocalTime local;
    toLocalTime(::time(nullptr), local);
    return local;
}

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

ClockHandler setClockHandler(ClockHandler handler)
{
    std::lock_guard lock(handlerMutex);
    std::swap(installedHandler, handler);
    return handler;
}

} // namespace platform
