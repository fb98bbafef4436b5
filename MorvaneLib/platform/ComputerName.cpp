#include "platform/ComputerName.h"

#include <unistd.h>

namespace platform {

std::string computerName()
{
    char buffer[256] = {};
    if (::gethostname(buffer, sizeof buffer - 1) != 0)
        buffer[0] = '\0';
    std::string name(buffer);
    name.resize(name.find('.') == std::string::npos ? name.size() : name.find('.'));
    return name.empty() ? std::string("localhost") : name;
}

} // namespace platform
