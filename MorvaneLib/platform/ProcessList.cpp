#include "platform/ProcessList.h"

#include <charconv>
#include <climits>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr std::string_view DeletedMark = " (deleted)";

// The numeric entries of /proc are the processes.
bool parseProcessId(const char* name, std::uint32_t& processId)
{
    const std::string_view text(name);
    const auto result = std::from_chars(text.data(), text.data() + text.size(), processId);
    return result.ec == std::errc() && result.ptr == text.data() + text.size() && processId != 0;
}

bool readExecutableName(const std::string& folder, std::string& name)
{
    char target[PATH_MAX];
    const ssize_t length = ::readlink((folder + "/exe").c_str(), target, sizeof target);
    if (length <= 0 || static_cast<std::size_t>(length) >= sizeof target)
        return false;
    std::string_view path(target, static_cast<std::size_t>(length));
    if (path.ends_with(DeletedMark))
        path.remove_suffix(DeletedMark.size());
    const std::size_t slash = path.rfind('/');
    name = std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
    return !name.empty();
}

bool readCommName(const std::string& folder, std::string& name)
{
    const int file = ::open((folder + "/comm").c_str(), O_RDONLY | O_CLOEXEC);
    if (file < 0)
        return false;
    char buffer[64];
    const ssize_t length = ::read(file, buffer, sizeof buffer);
    ::close(file);
    if (length <= 0)
        return false;
    std::string_view text(buffer, static_cast<std::size_t>(length));
    if (text.ends_with('\n'))
        text.remove_suffix(1);
    name = std::string(text);
    return true;
}

} // namespace

bool listProcesses(std::vector<ProcessInfo>& processes)
{
    DIR* proc = ::opendir("/proc");
    if (!proc)
        return false;
    std::vector<ProcessInfo> found;
    while (const dirent* entry = ::readdir(proc)) {
        ProcessInfo process;
        if (!parseProcessId(entry->d_name, process.processId))
            continue;
        const std::string folder = std::string("/proc/") + entry->d_name;
        if (readExecutableName(folder, process.executableName) || readCommName(folder, process.executableName))
            found.push_back(std::move(process));
    }
    ::closedir(proc);
    processes = std::move(found);
    return true;
}

} // namespace platform
