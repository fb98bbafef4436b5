// The process walk behind the single-instance guard, and the guard itself.
//
// ProcessApi binds the system's process listing once for the whole program. A ProcessList is
// filled by its back-end's Build and walked with Next; this system offers one back-end, over
// /proc, whose entry names are executable file names without their folder. The guard counts the
// entries named "Morvane", in any letter case: the running copy is one of them, so a second one
// is another copy.
#pragma once

#include "platform/ProcessList.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// The name of the program's executable file, as the guard counts it.
inline constexpr char ProgramExecutableName[] = "Morvane";

struct ProcessApi {
    using ListFunction = std::function<bool(std::vector<platform::ProcessInfo>& processes)>;

    // Binds the system's process listing.
    ProcessApi();
    // Binds another listing in its place.
    explicit ProcessApi(ListFunction list);

    ListFunction listProcesses;
};

// One running process.
class ProcessEntry {
public:
    ProcessEntry(std::uint32_t processId, std::string name);
    virtual ~ProcessEntry();

    std::uint32_t processId = 0;
    std::string name; // the executable name as the back-end delivers it
};

// An ordered list of the running processes, each an owned entry, and a cursor into it.
class ProcessList {
public:
    ProcessList() = default;
    ProcessList(const ProcessList&) = delete;
    ProcessList& operator=(const ProcessList&) = delete;

    // Fills the list; true on success. The base only empties it and resets the cursor, and every
    // back-end does that first.
    virtual bool Build();
    // The entry at the cursor, which then advances; null after the last. A cursor that was reset
    // begins at the first entry, and entries come in the order Build appended them.
    virtual ProcessEntry* Next();
    virtual ~ProcessList();

protected:
    void Append(std::unique_ptr<ProcessEntry> entry);

private:
    std::vector<std::unique_ptr<ProcessEntry>> m_entries;
    std::size_t m_cursor = 0;
};

// The back-end over /proc: executable file names, as ProcessApi's listing gives them.
class ProcProcessList : public ProcessList {
public:
    explicit ProcProcessList(const ProcessApi& api);
    bool Build() override;

private:
    const ProcessApi& m_api;
};

// A new list over the back-end this system offers, owned by the caller.
std::unique_ptr<ProcessList> CreateProcessList(const ProcessApi& api);

// True when this copy may run, false when another copy of the program is running.
bool CheckSingleInstance(const ProcessApi& api);
