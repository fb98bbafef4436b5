// The one pause facility: every fixed pause of the system goes through here, so tests can
// replace it and never sleep for real.
#pragma once

#include <chrono>
#include <functional>

namespace platform {

using PauseHandler = std::function<void(std::chrono::milliseconds)>;

// Waits for the given time, or hands it to the installed handler.
void pause(std::chrono::milliseconds duration);

// Installs a handler in place of the real sleep; an empty handler restores the real sleep.
// Returns the handler that was installed before.
PauseHandler setPauseHandler(PauseHandler handler);

} // namespace platform
