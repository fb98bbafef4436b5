// File times in the platform's own unit: 100-nanosecond intervals since 1 January 1601 (UTC).
//
// Paths are Windows path texts, translated and resolved as Path.h says. The output is defined
// only when an operation returns true.
#pragma once

#include <cstdint>
#include <string_view>

namespace platform {

// The last-write time of the entry at the path, to the nanosecond the file system keeps (of the
// target for a link that leads somewhere, of the link itself otherwise). Times the count cannot
// express are held at its ends: one before 1601 counts as 0.
bool getLastWriteFileTime(std::string_view path, std::uint64_t& fileTime);

} // namespace platform
