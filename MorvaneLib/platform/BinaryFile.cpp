#include "platform/BinaryFile.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace platform {
namespace {

std::mutex faultsMutex;
WriteFaults installedFaults;

WriteFaults currentFaults()
{
    std::lock_guard lock(faultsMutex);
    return installedFaults;
}

} // namespace

BinaryFile::~BinaryFile()
{
    close();
}

BinaryFile::BinaryFile(BinaryFile&& other) noexcept
    : m_descriptor(std::exchange(other.m_descriptor, -1))
    , m_faultsApply(other.m_faultsApply)
{
}

BinaryFile& BinaryFile::operator=(BinaryFile&& other) noexcept
{
    if (this != &other) {
        close();
        m_descriptor = std::exchange(other.m_descriptor, -1);
        m_faultsApply = other.m_faultsApply;
    }
    return *this;
}

bool BinaryFile::openForReading(const std::string& path)
{
    close();
    // Without O_NONBLOCK opening a FIFO would wait for a writer; the type check follows.
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        return false;
    struct stat status;
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(descriptor);
        return false;
    }
    m_descriptor = descriptor;
    m_faultsApply = false;
    return true;
}

bool BinaryFile::createForWriting(const std::string& path)
{
    close();
    const int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (descriptor < 0)
        return false;
    m_descriptor = descriptor;
    m_faultsApply = true;
    return true;
}

bool BinaryFile::read(void* buffer, std::size_t size, std::size_t& count)
{
    if (m_descriptor < 0)
        return false;
    for (;;) {
        const ssize_t result = ::read(m_descriptor, buffer, size);
        if (result >= 0) {
            count = static_cast<std::size_t>(result);
            return true;
        }
        if (errno != EINTR)
            return false;
    }
}

std::size_t BinaryFile::write(const void* data, std::size_t size)
{
    if (m_descriptor < 0)
        return 0;
    std::size_t allowed = size;
    if (m_faultsApply) {
        const WriteFaults faults = currentFaults();
        if (faults.write) {
            const off_t offset = ::lseek(m_descriptor, 0, SEEK_CUR);
            allowed = std::min(size, faults.write(offset < 0 ? 0 : static_cast<std::uint64_t>(offset), size));
        }
    }
    const auto* bytes = static_cast<const unsigned char*>(data);
    std::size_t written = 0;
    while (written < allowed) {
        const ssize_t result = ::write(m_descriptor, bytes + written, allowed - written);
        if (result < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (result == 0)
            break;
        written += static_cast<std::size_t>(result);
    }
    return written;
}

bool BinaryFile::seek(std::uint64_t offset)
{
    if (m_descriptor < 0)
        return false;
    if (m_faultsApply) {
        const WriteFaults faults = currentFaults();
        if (faults.seek && !faults.seek(offset))
            return false;
    }
    const off_t target = static_cast<off_t>(offset);
    return target >= 0 && ::lseek(m_descriptor, target, SEEK_SET) == target;
}

bool BinaryFile::truncate(std::uint64_t size)
{
    return m_descriptor >= 0 && ::ftruncate(m_descriptor, static_cast<off_t>(size)) == 0;
}

bool BinaryFile::facts(FileFacts& facts) const
{
    if (m_descriptor < 0)
        return false;
    struct statx status;
    if (::statx(m_descriptor, "", AT_EMPTY_PATH, STATX_BASIC_STATS | STATX_BTIME, &status) != 0)
        return false;
    FileFacts result;
    result.size = status.stx_size;
    result.lastWriteTime = status.stx_mtime.tv_sec;
    result.lastAccessTime = status.stx_atime.tv_sec;
    result.creationTime = (status.stx_mask & STATX_BTIME) ? status.stx_btime.tv_sec : status.stx_mtime.tv_sec;
    result.readOnly = (status.stx_mode & S_IWUSR) == 0;
    result.folder = S_ISDIR(status.stx_mode);
    facts = result;
    return true;
}

bool BinaryFile::close()
{
    if (m_descriptor < 0)
        return true;
    // The descriptor is released even when close reports an error, so it is never retried;
    // an interrupted close has still closed the file.
    return ::close(std::exchange(m_descriptor, -1)) == 0 || errno == EINTR;
}

WriteFaults setWriteFaults(WriteFaults faults)
{
    std::lock_guard lock(faultsMutex);
    std::swap(installedFaults, faults);
    return faults;
}

} // namespace platform
