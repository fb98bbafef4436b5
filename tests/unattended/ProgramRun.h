// Runs programs as child processes for the end-to-end tests and captures what they write.
//
// The built program runs in the working directory, in a process namespace of its own when the
// system allows one (as root), with a /proc that shows only the processes of the run: the
// single-instance guard then sees the companions of the test and nothing else, and the stand-ins
// named "Morvane" that a test starts are never seen by other programs on the machine.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace unattendedtest {

struct RunResult {
    int exitCode = -1; // -1 when the program could not be started or did not exit normally
    std::string out;
    std::string err;
};

// Runs argv[0] with the arguments after it and waits for it. The environment is the test's own,
// with variables named in unset removed and the settings of set added.
RunResult runCaptured(const std::vector<std::string>& argv, const std::vector<std::string>& unset = {},
                      const std::vector<std::string>& set = {});

struct ProgramRun {
    std::vector<std::string> arguments{};
    // The program to run; by default the built Morvane of the runtime folder.
    std::filesystem::path program{};
    // Programs started first, each with the argument "60" and left running until the program
    // has ended (copies of sleep under the names the guard is to see).
    std::vector<std::filesystem::path> companions{};
    // Without a display no window can be shown: DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM are
    // removed.
    bool display = false;
};

RunResult runProgram(const ProgramRun& run);

// A copy of /bin/sleep under this name in the folder.
std::filesystem::path sleeperNamed(const std::filesystem::path& folder, const std::string& name);

} // namespace unattendedtest
