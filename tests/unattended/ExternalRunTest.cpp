#include "Morvane/MorvaneLib.h"
#include "Morvane/MorvaneLibC.h"

#include "ReportRecorder.h"
#include "TestClock.h"
#include "TestPause.h"
#include "UnattendedStore.h"
#include "WorkingFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

using namespace std::chrono_literals;

namespace {

const platform::LocalTime At083513{2006, 11, 16, 8, 35, 13};
const std::filesystem::path StatusFile = "Morvane Package/morvaneStatus.ini";

struct Status {
    int code = -1;
    std::string description;
};

Status statusOf(std::uint32_t runId)
{
    Status status;
    status.code = morvane::getFileCollectionStatus(runId, status.description);
    return status;
}

// Polls the run's entry until it holds code and description; false after a minute without.
bool waitForStatus(std::uint32_t runId, int code, const std::string& description)
{
    const auto deadline = std::chrono::steady_clock::now() + 60s;
    while (std::chrono::steady_clock::now() < deadline) {
        const Status status = statusOf(runId);
        if (status.code == code && status.description == description)
            return true;
        std::this_thread::sleep_for(10ms);
    }
    return false;
}

class ExternalRun : public ::testing::Test {
protected:
    testsupport::WorkingFolder folder;
    testsupport::TestPause pauses;
    testsupport::TestClock clock{At083513};
};

TEST_F(ExternalRun, TheRunIdIsTheTimeOfDayAndTheEntryFollowsTheRunToItsEnd)
{
    unattendedtest::writeStore(folder);
    pauses.holdNext();
    std::uint32_t runId = 0;
    std::thread caller([&] { runId = morvane::runFileCollection("It broke."); });

    // The caller waits in the pause after the new entry, before the run starts.
    pauses.waitUntilHeld();
    EXPECT_NE(folder.read(StatusFile).find("0)ID=083513\r\n0)STATUS=WORKING\r\n0)DESCRIPTION=\r\n"), std::string::npos);
    EXPECT_FALSE(folder.exists("Out/PC042_2006_11_16_08_35"));
    pauses.release();
    caller.join();

    EXPECT_EQ(runId, 83513u);
    EXPECT_EQ(pauses.pauses().front(), 2000ms);
    ASSERT_TRUE(waitForStatus(83513, 1, "Completed."));
    EXPECT_FALSE(folder.exists("Out/PC042_2006_11_16_08_35"));
}

TEST_F(ExternalRun, ARunThatCannotStartIsReportedAsFailedWithItsMessage)
{
    using Setup = std::function<void(const testsupport::WorkingFolder&)>;
    struct Case {
        const char* name;
        Setup setup;
        int code;
        const char* description;
    };
    const std::vector<Case> cases = {
        {"no machine ID",
         [](const auto& f) {
             unattendedtest::writeStore(f);
             f.write("Morvane Package/Current_Morvane.ini", "[CONFIGURATION]\r\nLocal Directory=.\\Out\\\r\n");
         },
         2, "A unique machine ID is required."},
        {"no package",
         [](const auto& f) {
             unattendedtest::writeStore(f);
             std::filesystem::remove(f.path() / "Morvane Package/Current_Package_Logs.ini");
         },
         2, "No packages are available."},
        {"no settings at all", [](const auto&) {}, 2, "Missing or invalid File config."},
        {"only the default settings: restored, then collected",
         [](const auto& f) { unattendedtest::writeStore(f, {.currentSettings = false}); }, 1, "Completed."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::WorkingFolder caseFolder;
        std::filesystem::create_directory("Morvane Package");
        c.setup(caseFolder);

        ASSERT_EQ(morvane::runFileCollection("It broke."), 83513u);
        EXPECT_TRUE(waitForStatus(83513, c.code, c.description));
    }
}

TEST_F(ExternalRun, NothingStartsWhileTheWorkingFolderOfTheMinuteExists)
{
    unattendedtest::writeStore(folder);
    std::filesystem::create_directories("Out/PC042_2006_11_16_08_35");

    EXPECT_EQ(morvane::runFileCollection("It broke."), 0u);

    EXPECT_FALSE(folder.exists(StatusFile));
    EXPECT_TRUE(pauses.pauses().empty());
    EXPECT_FALSE(folder.exists("MorvaneLog.txt"));
}

// While the program window exists it receives the reports, and the entry stays as it was written.
TEST_F(ExternalRun, WhileTheWindowExistsTheEntryStaysWorking)
{
    unattendedtest::writeStore(folder);
    testsupport::ReportRecorder window;

    ASSERT_EQ(morvane::runFileCollection("It broke."), 83513u);

    ASSERT_TRUE(window.waitFor("Completed."));
    const Status status = statusOf(83513);
    EXPECT_EQ(status.code, 0);
    EXPECT_EQ(status.description, "");
}

TEST_F(ExternalRun, AnUnattendedRunOfTheProgramLeavesTheEntriesOfOtherRunsAlone)
{
    unattendedtest::writeStore(folder);
    folder.write(StatusFile, "[Statusmorvane]\r\n0)ID=070000\r\n0)STATUS=WORKING\r\n0)DESCRIPTION=Zip Files\r\n");
    const std::string before = folder.read(StatusFile);

    morvane::funcMorvaneLib("Files collected in silent mode", "", "2006_11_16_08_35", 1);

    EXPECT_NE(folder.read("MorvaneLog.txt").find("Completed."), std::string::npos);
    EXPECT_EQ(folder.read(StatusFile), before);
}

TEST_F(ExternalRun, ThePlainStatusCallCopiesAtMost254BytesAndTakesNoBuffer)
{
    const std::string longText(300, 'x');
    folder.write(StatusFile, "[Statusmorvane]\r\n0)ID=083513\r\n0)STATUS=FAIL\r\n0)DESCRIPTION=" + longText + "\r\n");
    char buffer[300];
    std::fill(std::begin(buffer), std::end(buffer), '#');

    EXPECT_EQ(::getFileCollectionStatus(83513, buffer), 2);
    const std::string copied(buffer);
    EXPECT_LE(copied.size(), 254u);
    EXPECT_EQ(copied, longText.substr(0, copied.size()));
    EXPECT_EQ(buffer[255], '#');

    EXPECT_EQ(::getFileCollectionStatus(83513, nullptr), 2);
    EXPECT_EQ(::getFileCollectionStatus(1, buffer), 3);
    EXPECT_STREQ(buffer, "");
}

} // namespace
