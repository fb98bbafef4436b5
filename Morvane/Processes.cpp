#include "Processes.h"

#include <algorithm>
#include <cctype>

namespace {

std::string lowered(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

} // namespace

ProcessApi::ProcessApi() : listProcesses(&platform::listProcesses) {}

ProcessApi::ProcessApi(ListFunction list) : listProcesses(std::move(list)) {}

ProcessEntry::ProcessEntry(std::uint32_t processId, std::string name)
    : processId(processId), name(std::move(name))
{
}

ProcessEntry::~ProcessEntry() = default;

bool ProcessList::Build()
{
    m_entries.clear();
    m_cursor = 0;
    return true;
}

ProcessEntry* ProcessList::Next()
{
    if (m_cursor >= m_entries.size())
        return nullptr;
    return m_entries[m_cursor++].get();
}

ProcessList::~ProcessList() = default;

void ProcessList::Append(std::unique_ptr<ProcessEntry> entry)
{
    m_entries.push_back(std::move(entry));
}

ProcProcessList::ProcProcessList(const ProcessApi& api) : m_api(api) {}

bool ProcProcessList::Build()
{
    ProcessList::Build();
    std::vector<platform::ProcessInfo> processes;
    if (!m_api.listProcesses || !m_api.listProcesses(processes))
        return false;
    for (platform::ProcessInfo& process : processes)
        Append(std::make_unique<ProcessEntry>(process.processId, std::move(process.executableName)));
    return true;
}

std::unique_ptr<ProcessList> CreateProcessList(const ProcessApi& api)
{
    return std::make_unique<ProcProcessList>(api);
}

bool CheckSingleInstance(const ProcessApi& api)
{
    const std::string target = lowered(ProgramExecutableName);
    const std::unique_ptr<ProcessList> list = CreateProcessList(api);
    // A list that cannot be built holds fewer processes, or none: this copy then runs as if alone.
    list->Build();
    int count = 0;
    while (const ProcessEntry* entry = list->Next()) {
        if (lowered(entry->name) == target && ++count > 1)
            return false;
    }
    return true;
}
