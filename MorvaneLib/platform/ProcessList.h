// The running processes of this system, read from /proc.
//
// Each process is its identifier and the file name of its executable: the last component of the
// /proc/PID/exe link (without the " (deleted)" the kernel adds once the file has been replaced),
// or the process's comm name when that link cannot be read (another user's process, a kernel
// thread). A process that ends while the list is read is left out. The output is defined only
// when the operation returns true.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

struct ProcessInfo {
    std::uint32_t processId = 0;
    std::string executableName;
};

// Every running process, in the order /proc lists them, the caller's own included. False when
// /proc cannot be listed.
bool listProcesses(std::vector<ProcessInfo>& processes);

} // namespace platform
