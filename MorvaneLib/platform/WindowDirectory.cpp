#include "platform/WindowDirectory.h"

#include <map>
#include <mutex>

namespace platform {
namespace {

struct Window {
    std::string title;
    std::shared_ptr<WindowReceiver> receiver;
};

// One lock for the table and the deliveries: a window cannot go away while its receiver runs.
// It is recursive so that a receiver may look windows up or remove itself.
struct Directory {
    std::recursive_mutex mutex;
    std::map<WindowHandle, Window> windows;  // ordered by handle, i.e. by registration
    WindowHandle lastHandle = 0;
    std::map<std::string, unsigned> messages;
};

Directory& directory()
{
    static Directory instance;
    return instance;
}

// Registered message identifiers start where the platform's own would.
constexpr unsigned FirstRegisteredMessage = 0xC000;

} // namespace

WindowHandle registerWindow(const std::string& title, WindowReceiver receiver)
{
    auto& d = directory();
    std::lock_guard lock(d.mutex);
    const WindowHandle handle = ++d.lastHandle;
    d.windows.emplace(handle, Window{title, std::make_shared<WindowReceiver>(std::move(receiver))});
    return handle;
}

void unregisterWindow(WindowHandle window)
{
    auto& d = directory();
    std::lock_guard lock(d.mutex);
    d.windows.erase(window);
}

WindowHandle findWindow(const std::string& title)
{
    auto& d = directory();
    std::lock_guard lock(d.mutex);
    for (const auto& [handle, window] : d.windows) {
        if (window.title == title)
            return handle;
    }
    return 0;
}

bool postMessage(WindowHandle window, unsigned message, std::uintptr_t param,
                 std::unique_ptr<LibraryMessage> record)
{
    auto& d = directory();
    std::lock_guard lock(d.mutex);
    const auto found = d.windows.find(window);
    if (found == d.windows.end() || !*found->second.receiver)
        return false;
    const auto receiver = found->second.receiver;
    (*receiver)(message, param, std::move(record));
    return true;
}

unsigned registerWindowMessage(const std::string& name)
{
    auto& d = directory();
    std::lock_guard lock(d.mutex);
    const auto next = FirstRegisteredMessage + static_cast<unsigned>(d.messages.size());
    return d.messages.emplace(name, next).first->second;
}

} // namespace platform
