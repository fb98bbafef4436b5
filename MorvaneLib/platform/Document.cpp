#include "platform/Document.h"

#include "platform/Path.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace platform {
namespace {

std::string findOnPath(const std::string& program)
{
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "/usr/local/bin:/usr/bin:/bin";
    size_t begin = 0;
    while (begin <= folders.size()) {
        size_t end = folders.find(':', begin);
        if (end == std::string::npos)
            end = folders.size();
        const std::string folder = end > begin ? folders.substr(begin, end - begin) : ".";
        const std::string candidate = folder + "/" + program;
        if (::access(candidate.c_str(), X_OK) == 0)
            return candidate;
        begin = end + 1;
    }
    return {};
}

} // namespace

bool openDocument(std::string_view windowsPath)
{
    std::string document;
    if (!toLinuxPath(windowsPath, document))
        return false;
    // A relative name starting with "-" must not read as an option.
    if (document.front() != '/')
        document = "./" + document;
    const std::string opener = findOnPath("xdg-open");
    if (opener.empty())
        return false;

    // Everything the children need is prepared before forking: between fork and exec only
    // async-signal-safe calls are allowed in a process that has threads.
    std::vector<char*> arguments = {const_cast<char*>(opener.c_str()), const_cast<char*>(document.c_str()), nullptr};
    const int nullDevice = ::open("/dev/null", O_RDWR | O_CLOEXEC);
    if (nullDevice < 0)
        return false;

    // The intermediate child starts the viewer and ends at once, so the viewer is adopted by
    // init and never left for this process to reap.
    const pid_t child = ::fork();
    if (child == 0) {
        const pid_t viewer = ::fork();
        if (viewer == 0) {
            ::setsid();
            ::dup2(nullDevice, STDIN_FILENO);
            ::dup2(nullDevice, STDOUT_FILENO);
            ::dup2(nullDevice, STDERR_FILENO);
            ::execve(arguments[0], arguments.data(), environ);
            ::_exit(127);
        }
        ::_exit(viewer < 0 ? 1 : 0);
    }
    ::close(nullDevice);
    if (child < 0)
        return false;
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR)
            return errno == ECHILD; // reaped by someone else: it was started
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace platform
