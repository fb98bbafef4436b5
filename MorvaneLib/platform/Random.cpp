#include "platform/Random.h"

#include <cerrno>
#include <sys/random.h>

namespace platform {

bool fillRandom(void* buffer, std::size_t size)
{
    auto* bytes = static_cast<unsigned char*>(buffer);
    std::size_t filled = 0;
    while (filled < size) {
        const ssize_t result = ::getrandom(bytes + filled, size - filled, 0);
        if (result < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        filled += static_cast<std::size_t>(result);
    }
    return true;
}

} // namespace platform
