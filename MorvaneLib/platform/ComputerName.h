// The computer's name as the machine identity uses it: the host name up to its first dot.
#pragma once

#include <string>

namespace platform {

// Never empty and never longer than 255 bytes; "localhost" when the host has no name.
std::string computerName();

} // namespace platform
