// Starting other programs in the background, and the folder the library was loaded from.
//
// A program is started from its path with an argument vector, never through a shell, in the
// working directory and environment of the caller. The caller does not wait for it, and no
// finished program is left behind as a zombie: the program runs as a grandchild that nobody
// in this process has to collect.
#pragma once

#include <string>
#include <vector>

// Start failures in the platform's error codes.
constexpr int ERROR_FILE_NOT_FOUND = 2;
constexpr int ERROR_PATH_NOT_FOUND = 3;
constexpr int ERROR_ACCESS_DENIED = 5;
constexpr int ERROR_NOT_ENOUGH_MEMORY = 8;
constexpr int ERROR_BAD_FORMAT = 11;
constexpr int ERROR_GEN_FAILURE = 31;

namespace platform {

// Starts the program (a Linux path) with the arguments after its name. Returns 0 once the
// program is running, or the code of a failed start: the program missing 2, its folder
// missing 3, not permitted 5, not a program 11, out of memory 8, anything else 31.
int startProgram(const std::string& program, const std::vector<std::string>& arguments);

// The Linux folder of the shared library that holds this code, without a trailing "/";
// empty when it cannot be told.
std::string libraryFolder();

} // namespace platform
