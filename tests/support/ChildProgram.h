// Runs a program of the build as a child process and waits for it to end.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace testsupport {

// The exit code of the program started with these arguments (after its name) in the working
// directory; -1 when it could not be started or did not exit normally.
int runChildProgram(const std::filesystem::path& program, const std::vector<std::string>& arguments);

} // namespace testsupport
