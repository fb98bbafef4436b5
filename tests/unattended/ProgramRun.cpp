#include "ProgramRun.h"

#include "WorkingFolder.h"

#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace unattendedtest {
namespace {

// Starts the companions, each as soon as the one before runs its own executable, then the
// program; ends the companions once the program has ended and exits with its status.
constexpr char RunScript[] = R"SH(program=$1; count=$2; shift 2
pids=
while [ "$count" -gt 0 ]; do
  "$1" 60 &
  pid=$!
  tries=0
  until [ "$(readlink "/proc/$pid/exe")" = "$(readlink -f "$1")" ] || [ "$tries" -ge 500 ]; do
    sleep 0.01
    tries=$((tries + 1))
  done
  pids="$pids $pid"
  shift
  count=$((count - 1))
done
"$program" "$@"
status=$?
[ -z "$pids" ] || kill $pids 2>/dev/null
exit $status
)SH";

std::string readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class CaptureFile {
public:
    CaptureFile()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "morvane-capture-XXXXXX").string();
        const int fd = ::mkstemp(pattern.data());
        if (fd < 0)
            throw std::runtime_error("cannot create a capture file");
        ::close(fd);
        m_path = pattern;
    }
    ~CaptureFile() { ::unlink(m_path.c_str()); }
    CaptureFile(const CaptureFile&) = delete;
    CaptureFile& operator=(const CaptureFile&) = delete;

    const std::string& path() const { return m_path; }
    std::string text() const { return readAll(m_path); }

private:
    std::string m_path;
};

bool namespaceAvailable()
{
    static const bool available =
        runCaptured({"/usr/bin/unshare", "--pid", "--fork", "--mount-proc", "/bin/true"}).exitCode == 0;
    return available;
}

} // namespace

RunResult runCaptured(const std::vector<std::string>& argv, const std::vector<std::string>& unset,
                      const std::vector<std::string>& set)
{
    std::vector<std::string> environment;
    for (char** variable = environ; *variable; ++variable) {
        const std::string entry(*variable);
        const std::string name = entry.substr(0, entry.find('='));
        bool removed = false;
        for (const std::string& drop : unset)
            removed = removed || drop == name;
        if (!removed)
            environment.push_back(entry);
    }
    environment.insert(environment.end(), set.begin(), set.end());

    std::vector<char*> args;
    for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    std::vector<char*> env;
    for (const std::string& entry : environment)
        env.push_back(const_cast<char*>(entry.c_str()));
    env.push_back(nullptr);

    CaptureFile out;
    CaptureFile err;
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    ::posix_spawn_file_actions_addopen(&actions, 1, out.path().c_str(), O_WRONLY | O_TRUNC, 0);
    ::posix_spawn_file_actions_addopen(&actions, 2, err.path().c_str(), O_WRONLY | O_TRUNC, 0);
    pid_t pid = -1;
    const int spawned = ::posix_spawn(&pid, args[0], &actions, nullptr, args.data(), env.data());
    ::posix_spawn_file_actions_destroy(&actions);

    RunResult result;
    if (spawned != 0)
        return result;
    int status = 0;
    if (::waitpid(pid, &status, 0) == pid && WIFEXITED(status))
        result.exitCode = WEXITSTATUS(status);
    result.out = out.text();
    result.err = err.text();
    return result;
}

RunResult runProgram(const ProgramRun& run)
{
    std::vector<std::string> argv;
    if (namespaceAvailable())
        argv = {"/usr/bin/unshare", "--pid", "--fork", "--mount-proc"};
    const std::filesystem::path program = run.program.empty() ? testsupport::runtimeFolder() / "Morvane" : run.program;
    argv.insert(argv.end(), {"/bin/sh", "-c", RunScript, "sh", program.string(), std::to_string(run.companions.size())});
    for (const auto& companion : run.companions)
        argv.push_back(companion.string());
    argv.insert(argv.end(), run.arguments.begin(), run.arguments.end());

    std::vector<std::string> unset;
    if (!run.display)
        unset = {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"};
    // A copy of the program outside the runtime folder finds the library there.
    return runCaptured(argv, unset, {"LD_LIBRARY_PATH=" + testsupport::runtimeFolder().string()});
}

std::filesystem::path sleeperNamed(const std::filesystem::path& folder, const std::string& name)
{
    std::filesystem::create_directories(folder);
    const auto path = folder / name;
    std::filesystem::copy_file("/bin/sleep", path, std::filesystem::copy_options::overwrite_existing);
    return path;
}

} // namespace unattendedtest
