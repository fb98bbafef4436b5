#include "platform/Pause.h"

#include <mutex>
#include <thread>

namespace platform {
namespace {

std::mutex handlerMutex;
PauseHandler installedHandler;

} // namespace

void pause(std::chrono::milliseconds duration)
{
    PauseHandler handler;
    {
        std::lock_guard lock(handlerMutex);
        handler = installedHandler;
    }
    if (handler)
        handler(duration);
    else
        std::this_thread::sleep_for(duration);
}

PauseHandler setPauseHandler(PauseHandler handler)
{
    std::lock_guard lock(handlerMutex);
    std::swap(installedHandler, handler);
    return handler;
}

} // namespace platform
