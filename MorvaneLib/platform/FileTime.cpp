#include "platform/FileTime.h"

#include "platform/Path.h"

#include <limits>
#include <string>
#include <sys/stat.h>

namespace platform {
namespace {

// Seconds from 1 January 1601 to 1 January 1970.
constexpr std::int64_t SecondsFrom1601To1970 = 11644473600;
constexpr std::int64_t IntervalsPerSecond = 10000000;

} // namespace

bool getLastWriteFileTime(std::string_view path, std::uint64_t& fileTime)
{
    std::string linuxPath;
    if (!toLinuxPath(path, linuxPath))
        return false;
    while (linuxPath.size() > 1 && linuxPath.back() == '/')
        linuxPath.pop_back();
    struct stat status;
    if (::stat(linuxPath.c_str(), &status) != 0 && ::lstat(linuxPath.c_str(), &status) != 0)
        return false;
    // The latest second since 1601 whose count, with its fraction, still fits.
    constexpr std::int64_t latest = std::numeric_limits<std::int64_t>::max() / IntervalsPerSecond - 1;
    const std::int64_t seconds = static_cast<std::int64_t>(status.st_mtim.tv_sec);
    if (seconds < -SecondsFrom1601To1970)
        fileTime = 0;
    else if (seconds > latest - SecondsFrom1601To1970)
        fileTime = static_cast<std::uint64_t>(latest) * IntervalsPerSecond;
    else
        fileTime = static_cast<std::uint64_t>(seconds + SecondsFrom1601To1970) * IntervalsPerSecond
            + static_cast<std::uint64_t>(status.st_mtim.tv_nsec / 100);
    return true;
}

} // namespace platform
