// The built program, run in a temporary working folder with a store, fixture files and a hive
// of its own.
#include "FtpTestServer.h"
#include "ProgramRun.h"
#include "UnattendedStore.h"
#include "WorkingFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>

using unattendedtest::ProgramRun;
using unattendedtest::runProgram;
using unattendedtest::sleeperNamed;

namespace {

const std::string Refused = "\n Missing or invalid value argument for morvane. \n";
const std::regex PlainAlreadyRunning(R"(\d\d/\d\d/\d\d  \d\d:\d\d:\d\d  \|  Morvane is already running\r\n)");

// The archives of the output folder.
std::vector<std::filesystem::path> archives()
{
    std::vector<std::filesystem::path> found;
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator("Out", ignored)) {
        if (entry.path().extension() == ".zip")
            found.push_back(entry.path());
    }
    return found;
}

// The entry names of an archive, as an independent reader lists them.
std::vector<std::string> archiveNames(const std::filesystem::path& archive)
{
    const char* python = std::getenv("MORVANE_TEST_PYTHON");
    const auto listing = unattendedtest::runCaptured(
        {python ? python : "/usr/bin/python3", "-c",
         "import sys, zipfile\nfor n in zipfile.ZipFile(sys.argv[1]).namelist(): print(n)", archive.string()});
    EXPECT_EQ(listing.exitCode, 0) << listing.err;
    std::vector<std::string> names;
    std::size_t begin = 0;
    for (std::size_t end; (end = listing.out.find('\n', begin)) != std::string::npos; begin = end + 1)
        names.push_back(listing.out.substr(begin, end - begin));
    return names;
}

bool anyEndsWith(const std::vector<std::string>& names, const std::string& ending)
{
    for (const std::string& name : names) {
        if (name.size() >= ending.size() && name.compare(name.size() - ending.size(), ending.size(), ending) == 0)
            return true;
    }
    return false;
}

std::string bytesOf(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// An FTP server for the runs of one test, with the folder "incoming" of the store's target.
class Server {
public:
    Server() { std::filesystem::create_directories(ftp.root() / "incoming"); }

    unattendedtest::StoreOptions store(bool registryRule = false) const
    {
        return {.ftpHost = ftp.address(), .registryRule = registryRule};
    }
    std::filesystem::path uploaded(const std::filesystem::path& archive) const
    {
        return ftp.root() / "incoming" / archive.filename();
    }

private:
    testsupport::FtpTestServer ftp;
};

// A silent run went through: "Done", one archive holding the fixture and sent to the server
// although the settings do not ask for a transfer, the working folder gone, and no status
// entry, since the run has no status ID.
void expectCollected(const unattendedtest::RunResult& result, const testsupport::WorkingFolder& folder,
                     const Server& server, bool registryRule = false)
{
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, "\nDone\n");
    EXPECT_NE(folder.read("MorvaneLog.txt").find("Completed."), std::string::npos);
    const auto found = archives();
    ASSERT_EQ(found.size(), 1u);
    EXPECT_TRUE(std::regex_match(found[0].filename().string(), std::regex(R"(PC042_20\d\d_\d\d_\d\d_\d\d_\d\d\.zip)")))
        << found[0];
    const auto names = archiveNames(found[0]);
    EXPECT_TRUE(anyEndsWith(names, "app.log")) << ::testing::PrintToString(names);
    EXPECT_TRUE(anyEndsWith(names, found[0].stem().string() + ".txt")) << ::testing::PrintToString(names);
    EXPECT_EQ(anyEndsWith(names, ".reg"), registryRule) << ::testing::PrintToString(names);
    EXPECT_EQ(bytesOf(server.uploaded(found[0])), bytesOf(found[0]));
    EXPECT_FALSE(folder.exists("Out/" + found[0].stem().string()));
    EXPECT_FALSE(folder.exists("Morvane Package/morvaneStatus.ini"));
}

TEST(UnattendedProgram, TheWordSilentInAnyLetterCaseCollectsWithoutADisplay)
{
    struct Case {
        std::vector<std::string> arguments;
        bool registryRule;
    };
    const std::vector<Case> cases = {{{"silent"}, true}, {{"SiLeNt"}, false}, {{"    silent"}, false}};
    const Server server;
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.arguments));
        testsupport::WorkingFolder folder;
        unattendedtest::writeStore(folder, server.store(c.registryRule));

        const auto result = runProgram({.arguments = c.arguments});

        expectCollected(result, folder, server, c.registryRule);
    }
}

TEST(UnattendedProgram, AnyOtherCommandLineIsRefused)
{
    const std::vector<std::vector<std::string>> cases = {{"-silent"}, {"/silent"}, {"silent", "x"}, {"silent "}};
    for (const auto& arguments : cases) {
        SCOPED_TRACE(::testing::PrintToString(arguments));
        testsupport::WorkingFolder folder;
        unattendedtest::writeStore(folder);

        const auto result = runProgram({.arguments = arguments});

        EXPECT_EQ(result.exitCode, 0);
        EXPECT_EQ(result.out, Refused);
        EXPECT_NE(result.err.find(Refused), std::string::npos);
        EXPECT_TRUE(std::regex_match(folder.read("MorvaneLog.txt"),
                                     std::regex(R"(\d\d/\d\d/\d\d  \d\d:\d\d:\d\d  \|  \*\*\*  Missing or invalid value argument for morvane\.\r\n)")))
            << folder.read("MorvaneLog.txt");
        EXPECT_FALSE(folder.exists("Out"));
    }
}

TEST(UnattendedProgram, AnEmptyCommandLineWithoutADisplayWritesNothingToStandardOutput)
{
    testsupport::WorkingFolder folder;
    unattendedtest::writeStore(folder);

    const auto result = runProgram({});

    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.exitCode, 0);
    EXPECT_FALSE(folder.exists("Out"));
}

TEST(UnattendedProgram, AnotherProcessNamedMorvaneKeepsTheRunFromCollecting)
{
    for (const std::string name : {"Morvane", "MORVANE", "morvane"}) {
        SCOPED_TRACE(name);
        testsupport::WorkingFolder folder;
        unattendedtest::writeStore(folder);
        const auto other = sleeperNamed(folder.path() / "elsewhere", name);

        const auto result = runProgram({.arguments = {"silent"}, .companions = {other}});

        EXPECT_EQ(result.exitCode, 0);
        EXPECT_EQ(result.out, "");
        EXPECT_TRUE(std::regex_match(folder.read("MorvaneLog.txt"), PlainAlreadyRunning)) << folder.read("MorvaneLog.txt");
        EXPECT_FALSE(folder.exists("Out"));
    }
}

// The guard ends the program before the command line is looked at; without a display its
// warning goes to standard error.
TEST(UnattendedProgram, ASecondCopyWithAnInvalidArgumentOnlyWarns)
{
    testsupport::WorkingFolder folder;
    unattendedtest::writeStore(folder);
    const auto other = sleeperNamed(folder.path() / "elsewhere", "Morvane");

    const auto result = runProgram({.arguments = {"-silent"}, .companions = {other}});

    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find("Morvane is already running"), std::string::npos) << result.err;
    EXPECT_TRUE(std::regex_match(folder.read("MorvaneLog.txt"), PlainAlreadyRunning)) << folder.read("MorvaneLog.txt");
}

TEST(UnattendedProgram, ProcessesUnderOtherNamesAreNotCounted)
{
    const Server server;
    {
        SCOPED_TRACE("stand-ins whose names only resemble the program's");
        testsupport::WorkingFolder folder;
        unattendedtest::writeStore(folder, server.store());
        const auto elsewhere = folder.path() / "elsewhere";

        const auto result = runProgram({.arguments = {"silent"},
                                        .companions = {sleeperNamed(elsewhere, "Morvane.exe"),
                                                       sleeperNamed(elsewhere, "MorvaneCopy"),
                                                       sleeperNamed(elsewhere, "xMorvane")}});

        expectCollected(result, folder, server);
    }
    {
        SCOPED_TRACE("a copy of the program under another name, beside a process named Morvane");
        testsupport::WorkingFolder folder;
        unattendedtest::writeStore(folder, server.store());
        const auto copy = folder.path() / "elsewhere" / "Collector";
        std::filesystem::create_directories(copy.parent_path());
        std::filesystem::copy_file(testsupport::runtimeFolder() / "Morvane", copy);

        const auto result = runProgram({.arguments = {"silent"},
                                        .program = copy,
                                        .companions = {sleeperNamed(folder.path() / "other", "Morvane")}});

        expectCollected(result, folder, server);
    }
}

} // namespace
