#include "SpecialFiles.h"

#include <stdexcept>
#include <sys/stat.h>

namespace testsupport {

void makeFifo(const std::filesystem::path& path)
{
    if (::mkfifo(path.c_str(), 0644) != 0)
        throw std::runtime_error("cannot create a FIFO at " + path.string());
}

} // namespace testsupport
