#include "platform/Process.h"

#include <cerrno>
#include <cstdlib>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace platform {
namespace {

int startErrorCode(int error, const std::string& program)
{
    switch (error) {
    case ENOENT: {
        const std::size_t slash = program.rfind('/');
        const std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : program.substr(0, slash));
        struct stat info;
        return ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
    }
    case ENOTDIR:
    case ELOOP:
    case ENAMETOOLONG:
        return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
        return ERROR_ACCESS_DENIED;
    case ENOEXEC:
        return ERROR_BAD_FORMAT;
    case ENOMEM:
    case E2BIG:
        return ERROR_NOT_ENOUGH_MEMORY;
    default:
        return ERROR_GEN_FAILURE;
    }
}

void writeError(int fd, int error)
{
    while (::write(fd, &error, sizeof error) < 0 && errno == EINTR) {
    }
}

} // namespace

int startProgram(const std::string& program, const std::vector<std::string>& arguments)
{
    // Everything the child needs is prepared before the fork: after it only async-signal-safe
    // calls are allowed.
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 2);
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    int errorPipe[2];
    if (::pipe2(errorPipe, O_CLOEXEC) != 0)
        return startErrorCode(errno, program);

    // The intermediate child starts the program and leaves at once, so the program becomes
    // the init process's to collect once it ends.
    const pid_t child = ::fork();
    if (child < 0) {
        const int error = errno;
        ::close(errorPipe[0]);
        ::close(errorPipe[1]);
        return startErrorCode(error, program);
    }
    if (child == 0) {
        ::close(errorPipe[0]);
        const pid_t grandchild = ::fork();
        if (grandchild < 0) {
            writeError(errorPipe[1], errno);
            ::_exit(1);
        }
        if (grandchild > 0)
            ::_exit(0);
        ::execve(program.c_str(), argv.data(), environ);
        writeError(errorPipe[1], errno);
        ::_exit(127);
    }

    ::close(errorPipe[1]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    int error = 0;
    ssize_t received;
    while ((received = ::read(errorPipe[0], &error, sizeof error)) < 0 && errno == EINTR) {
    }
    ::close(errorPipe[0]);
    if (received == static_cast<ssize_t>(sizeof error))
        return startErrorCode(error, program);
    return 0;
}

std::string libraryFolder()
{
    Dl_info info;
    if (::dladdr(reinterpret_cast<void*>(&libraryFolder), &info) == 0 || !info.dli_fname)
        return {};
    std::string path = info.dli_fname;
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (resolved) {
        path = resolved;
        ::free(resolved);
    }
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return {};
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

} // namespace platform
