#include "platform/MessageBox.h"

#include <mutex>

namespace platform {
namespace {

std::mutex hookMutex;
MessageBoxHook installedHook;

} // namespace

MessageBoxHook setMessageBoxHook(MessageBoxHook hook)
{
    std::lock_guard lock(hookMutex);
    std::swap(installedHook, hook);
    return hook;
}

int showMessageBox(const std::string& text, const std::string& caption, unsigned int style)
{
    MessageBoxHook hook;
    {
        std::lock_guard lock(hookMutex);
        hook = installedHook;
    }
    return hook ? hook(text, caption, style) : -1;
}

} // namespace platform
