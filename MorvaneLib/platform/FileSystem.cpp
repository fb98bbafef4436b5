#include "platform/FileSystem.h"

#include "platform/FolderNames.h"
#include "platform/Path.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) : m_fd(fd) {}
    ~FileDescriptor() { reset(); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    bool close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return fd < 0 || ::close(fd) == 0;
    }
    void reset(int fd = -1)
    {
        close();
        m_fd = fd;
    }
    int release()
    {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }

private:
    int m_fd;
};

bool translate(std::string_view windowsPath, std::string& linuxPath)
{
    if (!toLinuxPath(windowsPath, linuxPath))
        return false;
    // A trailing "/" would make a file path name a folder only.
    while (linuxPath.size() > 1 && linuxPath.back() == '/')
        linuxPath.pop_back();
    return true;
}

FileInfo infoFrom(const struct stat& status, EntryKind kind)
{
    FileInfo info;
    info.kind = kind;
    info.modified = status.st_mtime;
    info.size = status.st_size > 0 ? static_cast<std::uint64_t>(status.st_size) : 0;
    info.readOnly = (status.st_mode & S_IWUSR) == 0;
    return info;
}

bool infoOf(const std::string& linuxPath, FileInfo& info)
{
    struct stat status;
    if (::lstat(linuxPath.c_str(), &status) != 0)
        return false;
    if (S_ISLNK(status.st_mode)) {
        struct stat target;
        if (::stat(linuxPath.c_str(), &target) == 0 && S_ISREG(target.st_mode))
            info = infoFrom(target, EntryKind::LinkToRegularFile);
        else
            info = infoFrom(status, EntryKind::Other);
        return true;
    }
    if (S_ISDIR(status.st_mode))
        info = infoFrom(status, EntryKind::Folder);
    else if (S_ISREG(status.st_mode))
        info = infoFrom(status, EntryKind::RegularFile);
    else
        info = infoFrom(status, EntryKind::Other);
    return true;
}

// The platform refuses to write a file that is read-only for its owner, whoever asks.
bool writable(const std::string& linuxPath, const struct stat& status)
{
    return (status.st_mode & S_IWUSR) != 0 && ::access(linuxPath.c_str(), W_OK) == 0;
}

std::string folderOf(const std::string& linuxPath)
{
    const auto slash = linuxPath.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : linuxPath.substr(0, slash);
}

// The file a write to linuxPath lands in: through a symbolic link to its target.
std::string writeTarget(const std::string& linuxPath)
{
    struct stat status;
    if (::lstat(linuxPath.c_str(), &status) == 0 && S_ISLNK(status.st_mode)) {
        if (char* real = ::realpath(linuxPath.c_str(), nullptr)) {
            std::string target = real;
            std::free(real);
            return target;
        }
    }
    return linuxPath;
}

bool writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

bool readAll(int fd, std::string& bytes)
{
    std::string content;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (got == 0)
            break;
        content.append(buffer, static_cast<size_t>(got));
    }
    bytes = std::move(content);
    return true;
}

// Opens a regular file for reading; anything else (a FIFO, a device) is never opened, so
// reading cannot block on it or disturb it.
bool openRegularForReading(const std::string& linuxPath, FileDescriptor& fd, struct stat& status)
{
    if (::stat(linuxPath.c_str(), &status) != 0 || !S_ISREG(status.st_mode))
        return false;
    FileDescriptor opened(::open(linuxPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (!opened.valid() || ::fstat(opened.get(), &status) != 0 || !S_ISREG(status.st_mode))
        return false;
    const int flags = ::fcntl(opened.get(), F_GETFL);
    if (flags >= 0)
        ::fcntl(opened.get(), F_SETFL, flags & ~O_NONBLOCK);
    fd.reset(opened.release());
    return true;
}

std::string temporaryNameIn(const std::string& folder)
{
    static std::atomic<unsigned> counter{0};
    static const unsigned seed = std::random_device{}();
    char name[64];
    std::snprintf(name, sizeof name, ".morvane-%d-%08x-%u.tmp", static_cast<int>(::getpid()), seed,
                  counter.fetch_add(1));
    return (folder == "/" ? std::string("/") : folder + "/") + name;
}

// Creates a fresh temporary file in the folder (permissions from the umask).
bool createTemporary(const std::string& folder, std::string& path, FileDescriptor& fd)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string candidate = temporaryNameIn(folder);
        const int opened = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (opened >= 0) {
            fd.reset(opened);
            path = std::move(candidate);
            return true;
        }
        if (errno != EEXIST)
            return false;
    }
    return false;
}

enum class Durability { Atomic, Synced };

// Writes the bytes produced by fill into a temporary file beside target, gives it the mode
// and the owner asked for, and renames it over target. The rename alone makes the replacement
// all or nothing for every reader; a synced replacement also reaches the disk before the
// rename, for files that must survive a power loss.
template <typename Fill, typename Finish>
bool replaceThroughTemporary(const std::string& target, Durability durability, Fill fill, Finish finish)
{
    std::string temporary;
    FileDescriptor fd;
    if (!createTemporary(folderOf(target), temporary, fd))
        return false;
    const bool written = fill(fd.get()) && finish(fd.get())
        && (durability == Durability::Atomic || ::fdatasync(fd.get()) == 0);
    if (!fd.close() || !written || ::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

} // namespace

bool pathExists(std::string_view path)
{
    std::string linuxPath;
    struct stat status;
    return translate(path, linuxPath) && ::lstat(linuxPath.c_str(), &status) == 0;
}

bool isFolder(std::string_view path)
{
    std::string linuxPath;
    struct stat status;
    return translate(path, linuxPath) && ::stat(linuxPath.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

bool getFileInfo(std::string_view path, FileInfo& info)
{
    std::string linuxPath;
    return translate(path, linuxPath) && infoOf(linuxPath, info);
}

bool listFolder(std::string_view folder, std::vector<FolderEntry>& entries)
{
    std::string linuxFolder;
    std::vector<std::string> names;
    if (!translate(folder, linuxFolder) || !readFolderNames(linuxFolder, names))
        return false;
    const std::string prefix = linuxFolder == "/" ? "/" : linuxFolder + "/";
    std::vector<FolderEntry> listed;
    listed.reserve(names.size());
    for (std::string& name : names) {
        FolderEntry entry;
        if (!infoOf(prefix + name, entry.info))
            continue; // gone since the folder was read
        entry.name = std::move(name);
        listed.push_back(std::move(entry));
    }
    entries = std::move(listed);
    return true;
}

bool createFolder(std::string_view path)
{
    std::string linuxPath;
    return translate(path, linuxPath) && ::mkdir(linuxPath.c_str(), 0777) == 0;
}

bool removeFolder(std::string_view path)
{
    std::string linuxPath;
    return translate(path, linuxPath) && ::rmdir(linuxPath.c_str()) == 0;
}

bool deleteFile(std::string_view path)
{
    std::string linuxPath;
    struct stat status;
    if (!translate(path, linuxPath) || ::lstat(linuxPath.c_str(), &status) != 0 || S_ISDIR(status.st_mode))
        return false;
    if (!S_ISLNK(status.st_mode) && (status.st_mode & S_IWUSR) == 0)
        return false;
    return ::unlink(linuxPath.c_str()) == 0;
}

bool copyFile(std::string_view source, std::string_view target)
{
    std::string sourcePath;
    std::string targetPath;
    if (!translate(source, sourcePath) || !translate(target, targetPath))
        return false;
    FileDescriptor input;
    struct stat sourceStatus;
    if (!openRegularForReading(sourcePath, input, sourceStatus))
        return false;

    targetPath = writeTarget(targetPath);
    struct stat targetStatus;
    if (::stat(targetPath.c_str(), &targetStatus) == 0
        && (!S_ISREG(targetStatus.st_mode) || !writable(targetPath, targetStatus)))
        return false;

    const auto fill = [&](int output) {
        char buffer[65536];
        for (;;) {
            const ssize_t got = ::read(input.get(), buffer, sizeof buffer);
            if (got < 0) {
                if (errno == EINTR)
                    continue;
                return false;
            }
            if (got == 0)
                return true;
            if (!writeAll(output, std::string_view(buffer, static_cast<size_t>(got))))
                return false;
        }
    };
    const auto finish = [&](int output) {
        const struct timespec times[2] = {sourceStatus.st_atim, sourceStatus.st_mtim};
        return ::fchmod(output, sourceStatus.st_mode & 0777) == 0 && ::futimens(output, times) == 0;
    };
    return replaceThroughTemporary(targetPath, Durability::Atomic, fill, finish);
}

bool readFile(std::string_view path, std::string& bytes)
{
    std::string linuxPath;
    FileDescriptor fd;
    struct stat status;
    return translate(path, linuxPath) && openRegularForReading(linuxPath, fd, status) && readAll(fd.get(), bytes);
}

bool replaceFile(std::string_view path, std::string_view bytes)
{
    std::string linuxPath;
    if (!translate(path, linuxPath))
        return false;
    linuxPath = writeTarget(linuxPath);
    struct stat existing;
    const bool exists = ::stat(linuxPath.c_str(), &existing) == 0;
    if (exists && (!S_ISREG(existing.st_mode) || !writable(linuxPath, existing)))
        return false;

    const auto fill = [&](int output) { return writeAll(output, bytes); };
    const auto finish = [&](int output) {
        if (!exists)
            return true;
        if (::fchown(output, existing.st_uid, existing.st_gid) != 0 && errno != EPERM)
            return false;
        return ::fchmod(output, existing.st_mode & 07777) == 0;
    };
    return replaceThroughTemporary(linuxPath, Durability::Synced, fill, finish);
}

bool appendToFile(std::string_view path, std::string_view bytes)
{
    std::string linuxPath;
    if (!translate(path, linuxPath))
        return false;
    struct stat existing;
    if (::stat(linuxPath.c_str(), &existing) == 0 && (!S_ISREG(existing.st_mode) || !writable(linuxPath, existing)))
        return false;
    FileDescriptor fd(::open(linuxPath.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOCTTY, 0666));
    if (!fd.valid())
        return false;
    const bool written = writeAll(fd.get(), bytes);
    return fd.close() && written;
}

bool getFileAttributes(std::string_view path, std::uint32_t& attributes)
{
    std::string linuxPath;
    struct stat status;
    if (!translate(path, linuxPath) || ::stat(linuxPath.c_str(), &status) != 0)
        return false;
    std::uint32_t bits = 0;
    if (S_ISDIR(status.st_mode))
        bits |= FILE_ATTRIBUTE_DIRECTORY;
    if ((status.st_mode & S_IWUSR) == 0)
        bits |= FILE_ATTRIBUTE_READONLY;
    attributes = bits == 0 ? FILE_ATTRIBUTE_NORMAL : bits;
    return true;
}

bool setFileAttributes(std::string_view path, std::uint32_t attributes)
{
    std::string linuxPath;
    struct stat status;
    if (!translate(path, linuxPath) || ::stat(linuxPath.c_str(), &status) != 0)
        return false;
    const mode_t mode = status.st_mode & 07777;
    const mode_t wanted = (attributes & FILE_ATTRIBUTE_READONLY) ? (mode & ~static_cast<mode_t>(0222))
                                                                 : (mode | S_IRUSR | S_IWUSR);
    return wanted == mode || ::chmod(linuxPath.c_str(), wanted) == 0;
}

} // namespace platform
