// The library's interface for C++ programs: start a collection and follow it through the
// progress messages posted to the window titled "Morvane".
//
// Strings are copied by the library; nothing is written back into the caller's strings but the
// status text of getFileCollectionStatus. No exception leaves these functions. Programs that
// load the library with dlopen use the plain names of MorvaneLibC.h instead.
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

// Starts an unattended collection for another program, which follows it through the status
// file. Returns the run ID, the decimal value of the time of day HHmmSS of the call (08:35:13
// gives 83513), once a WORKING entry for it is written; 0, starting nothing, when the working
// folder of the same machine ID and minute exists.
uint32_t runFileCollection(std::string description);

// The state of a run started by runFileCollection: 0 working, 1 complete, 2 failed, 3 no such
// run. description receives the run's latest report (at most 254 bytes; empty for 3).
int getFileCollectionStatus(uint32_t runId, std::string& description);

// The size of what a file rule would gather: always 0.0.
double GetSizeMorvaneLib(const std::string& rule);

} // namespace morvane
