// The library's interface for C++ programs: start a collection and follow it through the
// progress messages posted to the window titled "Morvane".
//
// Strings are copied by the library; nothing is written back into the caller's strings. No
// exception leaves these functions. Programs that load the library with dlopen use the plain
// names of MorvaneLibC.h instead.
#pragma once

#include <cstdint>
#include <string>

namespace morvane {

// Returns 100 and does nothing else.
uint32_t funcLib();

// Starts a collection for the problem description and the problem time (YYYY_MM_DD_HH_mm).
// With unattended 0 the run goes on in the background and the call returns at once; with any
// other value the run takes every current package, always attempts the FTP transfer, and the
// call returns after its last report. Returns 100 in every case.
uint32_t funcMorvaneLib(const std::string& description, const std::string& message,
                        const std::string& problemTime, int unattended);

// The size of what a file rule would gather: always 0.0.
double GetSizeMorvaneLib(const std::string& rule);

} // namespace morvane
