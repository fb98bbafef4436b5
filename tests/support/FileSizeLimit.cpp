#include "FileSizeLimit.h"

#include <csignal>
#include <stdexcept>
#include <sys/resource.h>

namespace testsupport {

FileSizeLimit::FileSizeLimit(std::uint64_t bytes)
{
    struct rlimit limit;
    if (::getrlimit(RLIMIT_FSIZE, &limit) != 0)
        throw std::runtime_error("cannot read the file size limit");
    m_previousSoft = limit.rlim_cur;
    m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    limit.rlim_cur = bytes;
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
        throw std::runtime_error("cannot set the file size limit");
}

FileSizeLimit::~FileSizeLimit()
{
    struct rlimit limit;
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = m_previousSoft;
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, m_previousHandler);
}

} // namespace testsupport
