#include "engine/CollectionEngine.h"

#include "ReportRecorder.h"
#include "RunReports.h"
#include "StoreFiles.h"
#include "TestPause.h"
#include "WorkingFolder.h"

#include <gtest/gtest.h>

#include <functional>
#include <sys/stat.h>
#include <thread>

using namespace std::chrono_literals;
using enginetest::Completed;
using enginetest::Running;
using enginetest::defaultSettings;
using enginetest::running;
using enginetest::sequence;
using enginetest::ZipFiles;
using enginetest::registryRules;
using enginetest::writePackage;
using enginetest::writeSettings;
using testsupport::report;

namespace {

const std::string WorkFolder = "Out/PC042_2006_11_16_08_35";

// True when the log holds the line "<stamp>  |  [***  ]text".
bool logHasLine(const std::string& log, const std::string& text, bool marked = false)
{
    return log.find("  |  " + std::string(marked ? "***  " : "") + text + "\r\n") != std::string::npos;
}

class CollectionRun : public ::testing::Test {
protected:
    int run(int unattended = 0, const std::string& problemTime = "2006_11_16_08_35")
    {
        return engine.run("It broke.", message, unattended, problemTime);
    }

    // Runs on a thread of its own, looks at the folders while the run is held in its first
    // pause, then lets it finish.
    void runHeldInFirstPause(const std::function<void()>& whileHeld, int unattended = 0)
    {
        pauses.holdNext();
        int result = -1;
        std::thread worker([&] { result = run(unattended); });
        pauses.waitUntilHeld();
        whileHeld();
        pauses.release();
        worker.join();
        EXPECT_EQ(result, 0);
    }

    std::string log() const { return folder.read("MorvaneLog.txt"); }

    // The reports received after the first ones, for the rows of a table.
    std::vector<LibraryMessage> reportsSince(std::size_t first) const
    {
        const auto all = window.reports();
        return {all.begin() + static_cast<std::ptrdiff_t>(std::min(first, all.size())), all.end()};
    }

    testsupport::WorkingFolder folder;
    testsupport::TestPause pauses;
    testsupport::ReportRecorder window;
    CollectionEngine engine;
    std::string message;
};

TEST_F(CollectionRun, EachFailedStartCheckSendsOneReportAndEndsTheRun)
{
    struct Case {
        const char* name;
        std::function<void(const testsupport::WorkingFolder&)> prepare;
        int unattended;
        int result;
        LibraryMessage only;
    };
    const LibraryMessage noSettings = report(20, "Missing or invalid File config.", 1, 0);
    const LibraryMessage noId = report(20, "A unique machine ID is required.", 2, 0);
    const LibraryMessage noPackages = report(20, "No packages are available.", 3, 0);
    auto withoutComputerName = defaultSettings();
    withoutComputerName.erase(withoutComputerName.begin() + 3);
    const std::vector<Case> cases = {
        {"both settings files missing",
         [](const auto& f) { writePackage(f, "Current_Package_Core.ini", {}, registryRules(1)); }, 0, 1,
         noSettings},
        {"no machine ID",
         [&](const auto& f) {
             writeSettings(f, "Current_Morvane.ini", withoutComputerName, {"Core"});
             writePackage(f, "Current_Package_Core.ini", {}, registryRules(1));
         },
         0, 2, noId},
        {"no current package, attended with a selection",
         [](const auto& f) { writeSettings(f, "Current_Morvane.ini", defaultSettings(), {"Core", "Apps"}); },
         0, 3, noPackages},
        {"no current package, unattended",
         [](const auto& f) { writeSettings(f, "Current_Morvane.ini", defaultSettings(), {"Core"}); }, 1, 3,
         noPackages},
        {"only a default package",
         [](const auto& f) {
             writeSettings(f, "Current_Morvane.ini", defaultSettings(), {"Core"});
             writePackage(f, "package_Core.ini", {}, registryRules(1));
         },
         0, 3, noPackages},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::WorkingFolder caseFolder;
        const std::size_t before = window.reports().size();
        CollectionEngine caseEngine;
        std::string caseMessage;
        c.prepare(caseFolder);
        EXPECT_EQ(caseEngine.run("It broke.", caseMessage, c.unattended, "2006_11_16_08_35"), c.result);
        EXPECT_EQ(reportsSince(before), sequence(c.only));
        EXPECT_EQ(caseMessage, c.only.messageText);
        EXPECT_FALSE(caseFolder.exists("Out"));
        EXPECT_TRUE(logHasLine(caseFolder.read("MorvaneLog.txt"), c.only.messageText));
    }
}

TEST_F(CollectionRun, MissingCurrentSettingsAreRestoredFromTheDefaultsAndTheRunGoesOn)
{
    writeSettings(folder, "Morvane.ini", defaultSettings(), {"Core"});
    writePackage(folder, "package_Core.ini", {}, registryRules(2));

    EXPECT_EQ(run(), 0);

    EXPECT_EQ(window.reports(), sequence(report(20, "Missing or invalid File config.", 1, 0))
                                    + running(20, 22) + sequence(ZipFiles, Completed));
    EXPECT_TRUE(window.allCameAsProgressMessages());
    EXPECT_TRUE(folder.exists("Morvane Package/Current_Morvane.ini"));
    EXPECT_TRUE(folder.exists("Morvane Package/Current_package_Core.ini"));
    EXPECT_EQ(message, "Completed.");
}

TEST_F(CollectionRun, AttendedRunWithAnEmptySelectionMakesNoPackageFolderAndCompletes)
{
    writeSettings(folder, "Current_Morvane.ini", defaultSettings(), {});
    writePackage(folder, "Current_Package_Core.ini", {}, registryRules(3));

    runHeldInFirstPause([&] {
        EXPECT_EQ(pauses.pauses(), std::vector<std::chrono::milliseconds>(1, 1000ms));
        std::vector<std::string> entries;
        for (const auto& entry : std::filesystem::directory_iterator(folder.path() / WorkFolder))
            entries.push_back(entry.path().filename().string());
        EXPECT_EQ(entries, std::vector<std::string>{"PC042_2006_11_16_08_35.txt"});
    });

    EXPECT_EQ(window.reports(), running(20, 20) + sequence(ZipFiles, Completed));
}

TEST_F(CollectionRun, RunningReportsStopAt79AndZipFilesFollowsAt80)
{
    // 70 rules in all: 35 file rules in one package, 35 registry rules in the next.
    writeSettings(folder, "Current_Morvane.ini", defaultSettings(), {"Files", "Keys"});
    writePackage(folder, "Current_Package_Files.ini",
                 std::vector<std::vector<std::string>>(35, {"1", "0", ".\\nowhere\\", "*.log"}), {});
    writePackage(folder, "Current_Package_Keys.ini", {}, registryRules(35));

    EXPECT_EQ(run(), 0);

    EXPECT_EQ(window.reports(), running(20, 79) + sequence(ZipFiles, Completed));
    auto expectedPauses = std::vector<std::chrono::milliseconds>(35, 2000ms);
    expectedPauses.push_back(1000ms);
    EXPECT_EQ(pauses.pauses(), expectedPauses);
}

TEST_F(CollectionRun, FileRulesOfAPackageComeBeforeItsRegistryRulesAndAreLogged)
{
    writeSettings(folder, "Current_Morvane.ini", defaultSettings(), {"Core"});
    writePackage(folder, "Current_Package_Core.ini",
                 {{"3", "1", ".\\nowhere\\", "*.log"}, {"1", "0", ".\\nowhere\\", "app*.txt"}},
                 registryRules(1));

    runHeldInFirstPause([&] {
        // Held after the registry rule: both file rules were counted before it.
        EXPECT_EQ(window.reports(), running(20, 23));
    });

    const std::string text = log();
    const auto packageLine = text.find("|  package - Core \r\n");
    const auto firstRule = text.find("|  File '.\\nowhere\\*.log (3 File(s)  ,Recursive)' added to package 'Core'\r\n");
    const auto secondRule = text.find("|  File '.\\nowhere\\app*.txt (1 File(s)  )' added to package 'Core'\r\n");
    ASSERT_NE(packageLine, std::string::npos);
    ASSERT_NE(firstRule, std::string::npos);
    ASSERT_NE(secondRule, std::string::npos);
    EXPECT_LT(packageLine, firstRule);
    EXPECT_LT(firstRule, secondRule);
    EXPECT_EQ(text.find("|  " + Running), std::string::npos);
    EXPECT_TRUE(logHasLine(text, "Zip Files"));
    EXPECT_TRUE(logHasLine(text, "Completed."));
}

TEST_F(CollectionRun, TransferIsAnnouncedAt90WhenWanted)
{
    struct Case {
        const char* performFtp;  // nullptr: the key is absent
        int unattended;
        bool wanted;
        int updateStatus;
    };
    const std::vector<Case> cases = {
        {"1", 0, true, 1},  {"0", 0, false, 0},  {nullptr, 0, false, 0}, {"01", 0, false, 0},
        {"yes", 0, false, 0}, {"0", 1, true, 0}, {nullptr, 1, true, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("Perform FTP ") + (c.performFtp ? c.performFtp : "(absent)")
                     + (c.unattended ? ", unattended" : ", attended"));
        testsupport::WorkingFolder caseFolder;
        const std::size_t before = window.reports().size();
        CollectionEngine caseEngine;
        auto settings = defaultSettings();
        settings.erase(settings.begin() + 1);
        if (c.performFtp)
            settings.emplace_back("Perform FTP", c.performFtp);
        writeSettings(caseFolder, "Current_Morvane.ini", settings, {});
        writePackage(caseFolder, "Current_Package_Core.ini", {}, {});
        std::string caseMessage;

        EXPECT_EQ(caseEngine.run("It broke.", caseMessage, c.unattended, "2006_11_16_08_35"), 0);

        auto expected = running(20, 20) + sequence(ZipFiles);
        if (c.wanted)
            expected.push_back(report(90, "Send files to FTP server", -1, c.updateStatus));
        expected.push_back(Completed);
        EXPECT_EQ(reportsSince(before), expected);
    }
}

TEST_F(CollectionRun, AnEarlierTransferResultNeverReachesALaterRun)
{
    writeSettings(folder, "Current_Morvane.ini", defaultSettings(), {"Core"});
    writePackage(folder, "Current_Package_Core.ini", {}, registryRules(1));
    engine.ftpResult = 1;

    EXPECT_EQ(run(), 0);

    EXPECT_EQ(engine.ftpResult, 0);
    for (const auto& r : window.reports())
        EXPECT_EQ(r.ftpSent, 0) << r.messageText;
    EXPECT_EQ(window.reports().back(), Completed);
}

TEST_F(CollectionRun, TheWorkingFolderIsDeletedWithReadOnlyFilesAndTheOutputFolderStays)
{
    writeSettings(folder, "Current_Morvane.ini", defaultSettings(), {"Core"});
    writePackage(folder, "Current_Package_Core.ini", {}, registryRules(1));
    folder.write("Out/Readme.txt", "kept");

    runHeldInFirstPause([&] {
        ASSERT_TRUE(folder.exists(WorkFolder + "/Core"));
        folder.write(WorkFolder + "/Core/locked.reg", "x");
        ASSERT_EQ(::chmod((folder.path() / WorkFolder / "Core/locked.reg").c_str(), 0444), 0);
    });

    EXPECT_FALSE(folder.exists(WorkFolder));
    EXPECT_EQ(folder.read("Out/Readme.txt"), "kept");
    EXPECT_EQ(window.reports().back(), Completed);
}

TEST_F(CollectionRun, APackageNamedWithABlankGathersIntoAFolderWithADash)
{
    writeSettings(folder, "Current_Morvane.ini", defaultSettings(), {"My Logs"});
    writePackage(folder, "Current_Package_My Logs.ini", {}, registryRules(2));

    runHeldInFirstPause([&] {
        EXPECT_TRUE(std::filesystem::is_directory(folder.path() / WorkFolder / "My-Logs"));
        EXPECT_FALSE(folder.exists(WorkFolder + "/My Logs"));
    });

    // Both rules were read from the file named with the blank.
    EXPECT_EQ(window.reports(), running(20, 22) + sequence(ZipFiles, Completed));
    EXPECT_TRUE(logHasLine(log(), "package - My-Logs "));
}

TEST_F(CollectionRun, PackageNamesThatCannotNameAFolderAreSkippedAndLogged)
{
    for (const int unattended : {0, 1}) {
        SCOPED_TRACE(unattended ? "unattended" : "attended");
        testsupport::WorkingFolder caseFolder;
        const std::size_t before = window.reports().size();
        CollectionEngine caseEngine;
        writeSettings(caseFolder, "Current_Morvane.ini", defaultSettings(),
                      {"..", ".", "..\\Escape", "a/b", "Core"});
        writePackage(caseFolder, "Current_Package_Core.ini", {}, registryRules(1));
        writePackage(caseFolder, "Current_Package_...ini", {}, registryRules(1));
        std::string caseMessage;

        pauses.holdNext();
        std::thread worker([&] { caseEngine.run("It broke.", caseMessage, unattended, "2006_11_16_08_35"); });
        pauses.waitUntilHeld();
        std::vector<std::string> inOut;
        for (const auto& entry : std::filesystem::directory_iterator(caseFolder.path() / "Out"))
            inOut.push_back(entry.path().filename().string());
        EXPECT_EQ(inOut, std::vector<std::string>{"PC042_2006_11_16_08_35"});
        EXPECT_TRUE(caseFolder.exists(WorkFolder + "/Core"));
        pauses.release();
        worker.join();

        auto expected = running(20, 21) + sequence(ZipFiles);
        if (unattended)
            expected.push_back(report(90, "Send files to FTP server", -1, 0));
        expected.push_back(Completed);
        EXPECT_EQ(reportsSince(before), expected);
        const std::string text = caseFolder.read("MorvaneLog.txt");
        EXPECT_TRUE(logHasLine(text, "package '..' skipped: its name cannot name a folder", true));
        if (!unattended) {
            for (const std::string name : {".", "..\\Escape", "a/b"})
                EXPECT_TRUE(logHasLine(text, "package '" + name + "' skipped: its name cannot name a folder", true))
                    << name;
        }
        EXPECT_FALSE(caseFolder.exists("Escape"));
        EXPECT_FALSE(caseFolder.exists("Out/Escape"));
    }
}

TEST_F(CollectionRun, LongPackageNamesAndListsAreTakenWhole)
{
    // 61 packages of 100-character names: a list of more than 6000 characters. Only the last
    // one has a rule.
    writeSettings(folder, "Current_Morvane.ini", defaultSettings(), {});
    std::string last;
    for (int i = 0; i < 61; ++i) {
        const std::string number = std::to_string(100 + i);
        std::string name = (i == 60 ? "Z" : "A") + number + std::string(96, 'x');
        writePackage(folder, "Current_Package_" + name + ".ini", {}, registryRules(i == 60 ? 1 : 0));
        last = name;
    }
    ASSERT_EQ(last.size(), 100u);

    runHeldInFirstPause([&] { EXPECT_TRUE(std::filesystem::is_directory(folder.path() / WorkFolder / last)); },
                        1);

    EXPECT_EQ(window.reports(), running(20, 21)
                                    + sequence(ZipFiles, report(90, "Send files to FTP server", -1, 0), Completed));
}

TEST_F(CollectionRun, AProblemTimeCannotLeadTheWorkingFolderOutsideTheOutputFolder)
{
    writeSettings(folder, "Current_Morvane.ini", defaultSettings(), {"Core"});
    writePackage(folder, "Current_Package_Core.ini", {}, registryRules(1));
    folder.write("victim/keep.txt", "mine");

    EXPECT_EQ(run(0, "\\..\\..\\victim"), 0);

    EXPECT_EQ(folder.read("victim/keep.txt"), "mine");
    EXPECT_EQ(engine.workFolder, ".\\Out\\PC042__.._.._victim");
    EXPECT_EQ(engine.zipName, "PC042__.._.._victim.zip");
    EXPECT_FALSE(folder.exists("Out/PC042__.._.._victim"));
    EXPECT_EQ(window.reports().back(), Completed);
}

TEST(CollectionRunWithoutWindow, ReportsAreLoggedButNotPosted)
{
    testsupport::WorkingFolder folder;
    testsupport::TestPause pauses;
    testsupport::ReportRecorder otherWindow("Morvane Settings");
    writeSettings(folder, "Current_Morvane.ini", defaultSettings(), {"Core"});
    writePackage(folder, "Current_Package_Core.ini", {}, registryRules(1));
    CollectionEngine engine;
    std::string message;

    EXPECT_EQ(engine.run("It broke.", message, 0, "2006_11_16_08_35"), 0);

    EXPECT_TRUE(otherWindow.reports().empty());
    EXPECT_EQ(engine.windowTitle, "Morvane");
    const std::string text = folder.read("MorvaneLog.txt");
    EXPECT_TRUE(logHasLine(text, "Zip Files"));
    EXPECT_TRUE(logHasLine(text, "Completed."));
    EXPECT_EQ(text.find(Running), std::string::npos);
}

} // namespace
