#include "platform/Clock.h"

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

    const time_t now = ::time(nullptr);
    struct tm parts {};
    ::localtime_r(&now, &parts);
    LocalTime local;
    local.year = parts.tm_year + 1900;
    local.month = parts.tm_mon + 1;
    local.day = parts.tm_mday;
    local.hour = parts.tm_hour;
    local.minute = parts.tm_min;
    local.second = parts.tm_sec;
    return local;
}

ClockHandler setClockHandler(ClockHandler handler)
{
    std::lock_guard lock(handlerMutex);
    std::swap(installedHandler, handler);
    return handler;
}

} // namespace platform
