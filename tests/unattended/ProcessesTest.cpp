#include "Processes.h"

#include "WorkingFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace std::chrono_literals;

extern char** environ;

namespace {

ProcessApi listing(const std::vector<std::string>& names)
{
    return ProcessApi([names](std::vector<platform::ProcessInfo>& processes) {
        processes.clear();
        std::uint32_t id = 100;
        for (const std::string& name : names)
            processes.push_back({id++, name});
        return true;
    });
}

TEST(SingleInstance, CountsTheProcessesNamedMorvaneInAnyLetterCase)
{
    struct Case {
        std::vector<std::string> names;
        bool mayRun;
    };
    const std::vector<Case> cases = {
        {{"Morvane"}, true},
        {{"bash", "Morvane", "sleep"}, true},
        {{"Morvane", "MORVANE"}, false},
        {{"morvane", "init", "Morvane"}, false},
        {{"Morvane", "Morvane", "Morvane"}, false},
        {{"Morvane", "Morvane.exe"}, true},
        {{"Morvane", "MorvaneCopy"}, true},
        {{"Morvane", "/opt/other/Morvane"}, true},
        {{"Morvane", " Morvane"}, true},
        {{}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.names));
        EXPECT_EQ(CheckSingleInstance(listing(c.names)), c.mayRun);
    }
}

TEST(SingleInstance, AListThatCannotBeBuiltLetsTheCopyRun)
{
    const ProcessApi failing([](std::vector<platform::ProcessInfo>& processes) {
        processes = {{1, "Morvane"}, {2, "Morvane"}};
        return false;
    });
    EXPECT_TRUE(CheckSingleInstance(failing));
    EXPECT_TRUE(CheckSingleInstance(ProcessApi(nullptr)));
}

TEST(ProcessList, EachBuildStartsAfreshAndNextWalksInBuildOrder)
{
    int builds = 0;
    const ProcessApi api([&builds](std::vector<platform::ProcessInfo>& processes) {
        ++builds;
        if (builds == 3)
            return false;
        processes = {{7, "first" + std::to_string(builds)}, {3, "second" + std::to_string(builds)}};
        return true;
    });
    const auto list = CreateProcessList(api);

    ASSERT_TRUE(list->Build());
    ProcessEntry* entry = list->Next();
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->processId, 7u);
    EXPECT_EQ(entry->name, "first1");

    // A second build empties the list and walks from the start again.
    ASSERT_TRUE(list->Build());
    std::vector<std::string> names;
    while ((entry = list->Next()))
        names.push_back(entry->name);
    EXPECT_EQ(names, (std::vector<std::string>{"first2", "second2"}));
    EXPECT_EQ(list->Next(), nullptr);

    EXPECT_FALSE(list->Build());
    EXPECT_EQ(list->Next(), nullptr);
}

class RunningProgram {
public:
    RunningProgram(const std::filesystem::path& program, const std::string& argument)
    {
        const std::string path = program.string();
        char* argv[] = {const_cast<char*>(path.c_str()), const_cast<char*>(argument.c_str()), nullptr};
        if (::posix_spawn(&m_pid, path.c_str(), nullptr, nullptr, argv, environ) != 0)
            m_pid = -1;
    }
    ~RunningProgram()
    {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
    }
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    pid_t pid() const { return m_pid; }

private:
    pid_t m_pid = -1;
};

// The name the listing gives the process, once it runs its own executable; "" if it never does.
std::string listedName(pid_t pid, const std::string& expected)
{
    std::string name;
    for (int attempt = 0; attempt < 500; ++attempt) {
        std::vector<platform::ProcessInfo> processes;
        EXPECT_TRUE(platform::listProcesses(processes));
        for (const auto& process : processes) {
            if (process.processId == static_cast<std::uint32_t>(pid))
                name = process.executableName;
        }
        if (name == expected)
            break;
        std::this_thread::sleep_for(10ms);
    }
    return name;
}

TEST(ProcessListing, NamesEachProcessAfterTheFileNameOfItsExecutable)
{
    std::vector<platform::ProcessInfo> processes;
    ASSERT_TRUE(platform::listProcesses(processes));
    const std::string ownName = std::filesystem::read_symlink("/proc/self/exe").filename().string();
    bool foundSelf = false;
    for (const auto& process : processes)
        foundSelf = foundSelf || (process.processId == static_cast<std::uint32_t>(::getpid()) && process.executableName == ownName);
    EXPECT_TRUE(foundSelf) << ownName;

    // A copy of a program under another name is listed under that name, letter case kept, also
    // after its file has been deleted.
    testsupport::WorkingFolder folder;
    const auto copy = folder.path() / "Sleeper MORVANE";
    std::filesystem::copy_file("/bin/sleep", copy);
    RunningProgram sleeper(copy, "30");
    ASSERT_GT(sleeper.pid(), 0);
    EXPECT_EQ(listedName(sleeper.pid(), "Sleeper MORVANE"), "Sleeper MORVANE");
    std::filesystem::remove(copy);
    EXPECT_EQ(listedName(sleeper.pid(), "Sleeper MORVANE"), "Sleeper MORVANE");
}

} // namespace
