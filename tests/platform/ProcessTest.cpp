#include "WorkingFolder.h"

#include "platform/Process.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <sys/wait.h>
#include <thread>

namespace {

std::string python()
{
    const char* path = std::getenv("MORVANE_TEST_PYTHON");
    return path ? path : "/usr/bin/python3";
}

// Waits for a file that a background program writes under a temporary name and renames.
bool waitForFile(const testsupport::WorkingFolder& folder, const std::string& name)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!folder.exists(name)) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

} // namespace

TEST(Process, PassesEachArgumentAsItIsWithoutAShell)
{
    testsupport::WorkingFolder folder;
    const std::vector<std::string> arguments = {
        "a \"quoted\" word", "$(touch injected)", "x; touch injected", "line\nbreak", "", "back\\slash", "*",
    };
    std::vector<std::string> command = {
        "-c", "import os, sys; open('args.tmp', 'w').write('\\0'.join(sys.argv[1:])); os.rename('args.tmp', 'args')"};
    command.insert(command.end(), arguments.begin(), arguments.end());
    ASSERT_EQ(platform::startProgram(python(), command), 0);
    ASSERT_TRUE(waitForFile(folder, "args"));

    std::string expected;
    for (std::size_t i = 0; i < arguments.size(); ++i)
        expected += (i ? std::string(1, '\0') : std::string()) + arguments[i];
    EXPECT_EQ(folder.read("args"), expected);
    EXPECT_FALSE(folder.exists("injected"));
}

TEST(Process, LeavesNoChildOfItsOwnBehind)
{
    testsupport::WorkingFolder folder;
    ASSERT_EQ(platform::startProgram(python(), {"-c", "import os; open('t', 'w'); os.rename('t', 'done')"}), 0);
    ASSERT_TRUE(waitForFile(folder, "done"));
    errno = 0;
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1) << "the program is nobody's child here, running or finished";
    EXPECT_EQ(errno, ECHILD);
}

TEST(Process, ReportsAFailedStartInThePlatformsCodes)
{
    testsupport::WorkingFolder folder;
    folder.write("not-executable", "#!/bin/sh\n");
    folder.write("not-a-program", "\x7f" "garbage");
    std::filesystem::permissions(folder.path() / "not-a-program", std::filesystem::perms::owner_all);
    const std::string here = folder.path().string();
    const std::pair<std::string, int> cases[] = {
        {here + "/missing", ERROR_FILE_NOT_FOUND},
        {here + "/no-folder/missing", ERROR_PATH_NOT_FOUND},
        {here + "/not-executable/missing", ERROR_PATH_NOT_FOUND},
        {here + "/not-executable", ERROR_ACCESS_DENIED},
        {here + "/not-a-program", ERROR_BAD_FORMAT},
    };
    for (const auto& [program, code] : cases) {
        SCOPED_TRACE(program);
        EXPECT_EQ(platform::startProgram(program, {}), code);
    }
}

TEST(Process, FindsTheFolderOfTheLibrary)
{
    EXPECT_EQ(std::filesystem::path(platform::libraryFolder()), std::filesystem::canonical(testsupport::runtimeFolder()));
}
