// The windows of this process by title, and the messages posted to them.
//
// A window registers a receiver under its title for as long as it exists. Posting hands the
// record to that receiver on the posting thread and returns; the receiver must return at once
// (a user-interface receiver queues the record onto its own thread) and owns the record from
// then on. Windows of other processes are never found. Message identifiers are registered by
// name: the same name gives the same identifier for the life of the process, never 0.
#pragma once

#include "Morvane/LibraryMessage.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace platform {

// Names one registered window; 0 names none.
using WindowHandle = std::uint64_t;

using WindowReceiver =
    std::function<void(unsigned message, std::uintptr_t param, std::unique_ptr<LibraryMessage> record)>;

// Registers a receiver under a title. Returns its handle.
WindowHandle registerWindow(const std::string& title, WindowReceiver receiver);

// Removes a window. Once this returns, its receiver is not called again and no call of it is
// still running on another thread.
void unregisterWindow(WindowHandle window);

// The earliest registered window that still exists with exactly this title, or 0.
WindowHandle findWindow(const std::string& title);

// Hands the record to the window's receiver. Returns false, and frees the record, when the
// window no longer exists.
bool postMessage(WindowHandle window, unsigned message, std::uintptr_t param,
                 std::unique_ptr<LibraryMessage> record);

// The identifier of a message name.
unsigned registerWindowMessage(const std::string& name);

} // namespace platform
