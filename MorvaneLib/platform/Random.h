// Random bytes from the system's random source, for secrets such as encryption headers.
#pragma once

#include <cstddef>

namespace platform {

// Fills the buffer with bytes from the system's random source; false when it cannot be read.
bool fillRandom(void* buffer, std::size_t size);

} // namespace platform
