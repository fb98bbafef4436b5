#include "Morvane/MorvaneLib.h"

#include "ReportRecorder.h"
#include "RunReports.h"
#include "StoreFiles.h"
#include "TestPause.h"
#include "WorkingFolder.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

using namespace std::chrono_literals;
using enginetest::Completed;
using enginetest::defaultSettings;
using enginetest::running;
using enginetest::sequence;
using enginetest::ZipFiles;
using enginetest::registryRules;
using enginetest::writePackage;
using enginetest::writeSettings;
using testsupport::report;

namespace {

class LibraryInterface : public ::testing::Test {
protected:
    LibraryInterface()
    {
        writeSettings(folder, "Current_Morvane.ini", defaultSettings(), {"Core"});
        writePackage(folder, "Current_Package_Core.ini", {}, registryRules(1));
        writePackage(folder, "Current_Package_Extra.ini", {}, registryRules(2));
    }

    testsupport::WorkingFolder folder;
    testsupport::TestPause pauses;
    testsupport::ReportRecorder window;
};

TEST_F(LibraryInterface, AnAttendedCallReturnsWithoutWaitingForTheRun)
{
    pauses.holdNext();

    EXPECT_EQ(morvane::funcMorvaneLib("It broke.", "", "2006_11_16_08_35", 0), 100u);

    // The run is still held in its first pause, after its one selected rule.
    pauses.waitUntilHeld();
    EXPECT_EQ(window.reports(), running(20, 21));
    pauses.release();
    ASSERT_TRUE(window.waitFor("Completed."));
    EXPECT_EQ(window.reports(), running(20, 21) + sequence(ZipFiles, Completed));
}

TEST_F(LibraryInterface, AnUnattendedCallReturnsAfterTheLastReportAndTakesEveryPackage)
{
    for (const int unattended : {1, 2, -1}) {
        SCOPED_TRACE(unattended);
        const std::size_t before = window.reports().size();
        std::string message = "from the caller";

        EXPECT_EQ(morvane::funcMorvaneLib("It broke.", message, "2006_11_16_08_35", unattended), 100u);

        // Both packages, three rules; the transfer is always attempted, without updating the
        // status line.
        const auto reports = window.reports();
        EXPECT_EQ(std::vector(reports.begin() + static_cast<std::ptrdiff_t>(before), reports.end()),
                  running(20, 23)
                                            + sequence(ZipFiles, report(90, "Send files to FTP server", -1, 0),
                                                          Completed));
        EXPECT_EQ(message, "from the caller");
    }
}

TEST_F(LibraryInterface, AStartedRunKeepsItsRequestAndRunsOneAfterAnother)
{
    pauses.holdNext();
    morvane::funcMorvaneLib("first problem", "", "2006_11_16_08_35", 0);
    pauses.waitUntilHeld();

    // A second request while the first run is held: it waits for the first to end.
    morvane::funcMorvaneLib("second problem", "", "2006_11_16_09_00", 0);
    const std::string firstReport = folder.read("Out/PC042_2006_11_16_08_35/PC042_2006_11_16_08_35.txt");
    EXPECT_NE(firstReport.find("first problem"), std::string::npos);
    EXPECT_FALSE(folder.exists("Out/PC042_2006_11_16_09_00"));
    pauses.release();

    ASSERT_TRUE(window.waitFor("Completed.", 2));
    const auto oneRun = running(20, 21) + sequence(ZipFiles, Completed);
    EXPECT_EQ(window.reports(), oneRun + oneRun);
}

TEST_F(LibraryInterface, FuncLibAndGetSizeAnswerWithoutLookingAtTheirArguments)
{
    EXPECT_EQ(morvane::funcLib(), 100u);
    for (const std::string rule : {"", "5,1,C:\\var\\log\\,*.log", "garbage"})
        EXPECT_EQ(morvane::GetSizeMorvaneLib(rule), 0.0) << rule;
}

// A program that loads the library finds the plain names.
TEST_F(LibraryInterface, PlainNamesAreExportedForProgramsThatLoadTheLibrary)
{
    const auto library = testsupport::runtimeFolder() / "libMorvaneLib.so";
    void* handle = ::dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle, nullptr) << ::dlerror();

    using FuncLib = uint32_t (*)();
    using FuncMorvaneLib = uint32_t (*)(const char*, const char*, const char*, int);
    using GetSize = double (*)(const char*);
    const auto funcLib = reinterpret_cast<FuncLib>(::dlsym(handle, "funcLib"));
    const auto funcMorvaneLib = reinterpret_cast<FuncMorvaneLib>(::dlsym(handle, "funcMorvaneLib"));
    const auto getSize = reinterpret_cast<GetSize>(::dlsym(handle, "GetSizeMorvaneLib"));
    ASSERT_NE(funcLib, nullptr);
    ASSERT_NE(funcMorvaneLib, nullptr);
    ASSERT_NE(getSize, nullptr);

    EXPECT_EQ(funcLib(), 100u);
    EXPECT_EQ(getSize(nullptr), 0.0);
    EXPECT_EQ(getSize("1,0,C:\\tmp\\,*.txt"), 0.0);
    EXPECT_EQ(funcMorvaneLib("It broke.", nullptr, "2006_11_16_08_35", 1), 100u);
    EXPECT_EQ(window.reports().back(), Completed);
    EXPECT_TRUE(window.allCameAsProgressMessages());

    ::dlclose(handle);
}

} // namespace
