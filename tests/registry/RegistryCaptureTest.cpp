#include "HiveTestSupport.h"
#include "ScriptedMessageBox.h"
#include "WorkingFolder.h"

#include "engine/CollectionEngine.h"
#include "registry/ExportProgram.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using registry::Hive;
using registrytest::keyAt;

namespace {

const char* const sampleHive =
    "REGEDIT4\r\n"
    "\r\n"
    "[HKEY_CURRENT_USER\\Software\\Vendor]\r\n"
    "\"Language\"=\"en\"\r\n"
    "[HKEY_CURRENT_USER\\Software\\Vendor\\Recent]\r\n"
    "\"0\"=\"C:\\\\var\\\\log\\\\syslog\"\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\App]\r\n"
    "\"Build\"=dword:00000011\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\A/B Tools]\r\n"
    "\"Slash\"=\"1\"\r\n"
    "[HKEY_CURRENT_USER\\Software\\Odd \"quoted\"  name]\r\n"
    "\"Odd\"=\"1\"\r\n";

// A working folder with the hive, a package folder Core under the run's working folder and an
// engine pointed at it.
struct CaptureFixture {
    testsupport::WorkingFolder folder;
    CollectionEngine engine;

    explicit CaptureFixture(int unattended)
    {
        folder.write("MorvaneRegistry.reg", sampleHive);
        std::filesystem::create_directories(folder.path() / "Reports" / "PC042_2006_11_16_08_35" / "Core");
        engine.workFolder = ".\\Reports\\PC042_2006_11_16_08_35";
        engine.currentPackage = "Core";
        engine.unattended = unattended;
    }

    std::filesystem::path packageFolder() const { return folder.path() / "Reports" / "PC042_2006_11_16_08_35" / "Core"; }

    std::vector<std::string> packageFiles() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(packageFolder()))
            names.push_back(entry.path().filename().string());
        return names;
    }

    bool waitForExport(const std::string& name) const
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!std::filesystem::exists(packageFolder() / name)) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return true;
    }

    std::string log() const { return folder.read("MorvaneLog.txt"); }
};

// Restores the export program beside the library when a test is done with another one.
struct ExportProgramOverride {
    explicit ExportProgramOverride(std::string path) { registry::setExportProgramPath(std::move(path)); }
    ~ExportProgramOverride() { registry::setExportProgramPath({}); }
};

} // namespace

TEST(RegistryCapture, ExportsEachRuleIntoThePackageFolderUnderItsAbbreviatedName)
{
    struct Case {
        const char* keyPath;
        const char* fileName;
        const char* exportedKey;
    };
    const Case cases[] = {
        {"HKEY_CURRENT_USER\\Software\\Vendor", "HKCU_Software_Vendor.reg", "HKEY_CURRENT_USER\\Software\\Vendor\\Recent"},
        {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\App\\", "HKLM_SOFTWARE_Vendor_App.reg", "HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\App"},
        {"hkey_local_machine\\SOFTWARE\\Vendor", "hkey_local_machine_SOFTWARE_Vendor.reg", "HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\App"},
        {"HKLM\\SOFTWARE\\Vendor\\App", "HKLM_SOFTWARE_Vendor_App.reg", "HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\App"},
        // A "/" in a key name must not lead the file into another folder.
        {"HKEY_LOCAL_MACHINE\\SOFTWARE\\A/B Tools", "HKLM_SOFTWARE_A_B Tools.reg", "HKEY_LOCAL_MACHINE\\SOFTWARE\\A/B Tools"},
        // Quotes and blanks reach the export program as they are.
        {"HKEY_CURRENT_USER\\Software\\Odd \"quoted\"  name", "HKCU_Software_Odd \"quoted\"  name.reg",
         "HKEY_CURRENT_USER\\Software\\Odd \"quoted\"  name"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keyPath);
        CaptureFixture fixture(1);
        testsupport::ScriptedMessageBox boxes;
        fixture.engine.exportRegistryRule(c.keyPath);
        ASSERT_TRUE(fixture.waitForExport(c.fileName));
        EXPECT_EQ(fixture.packageFiles(), std::vector<std::string>{c.fileName});

        const Hive exported = Hive::parse(fixture.folder.read(fixture.packageFolder() / c.fileName));
        EXPECT_NE(keyAt(exported, c.exportedKey), Hive::noKey);
        EXPECT_NE(fixture.log().find(std::string("|  Registry '") + c.keyPath + "' added to package 'Core'\r\n"),
                  std::string::npos)
            << fixture.log();
        EXPECT_EQ(fixture.log().find("***"), std::string::npos);
        EXPECT_TRUE(boxes.shown().empty());
    }
}

TEST(RegistryCapture, ReportsAFailedStartAsAMarkedLineAndABoxOnlyWhenAttended)
{
    struct Case {
        const char* name;
        std::string program;
        const char* message;  // nullptr: a failure with no message of its own
    };
    testsupport::WorkingFolder programs;
    programs.write("not-executable", "#!/bin/sh\n");
    programs.write("not-a-program", "garbage");
    std::filesystem::permissions(programs.path() / "not-a-program", std::filesystem::perms::owner_all);
    const std::string here = programs.path().string();
    const Case cases[] = {
        {"program missing", here + "/MorvaneRegExport", "ERROR FILE NOT FOUND"},
        {"folder missing", here + "/gone/MorvaneRegExport", "ERROR PATH NOT FOUND"},
        {"not permitted", here + "/not-executable", "ERROR ACCESS DENIED"},
        {"not a program", here + "/not-a-program", nullptr},
    };
    for (const Case& c : cases) {
        for (int unattended : {1, 0}) {
            SCOPED_TRACE(std::string(c.name) + (unattended ? ", unattended" : ", attended"));
            ExportProgramOverride program(c.program);
            CaptureFixture fixture(unattended);
            testsupport::ScriptedMessageBox boxes;
            fixture.engine.exportRegistryRule("HKEY_CURRENT_USER\\Software\\Vendor");

            const std::string log = fixture.log();
            EXPECT_NE(log.find("|  Registry 'HKEY_CURRENT_USER\\Software\\Vendor' added to package 'Core'\r\n"), std::string::npos);
            const auto shown = boxes.shown();
            if (!c.message) {
                EXPECT_EQ(log.find("***"), std::string::npos) << log;
                EXPECT_TRUE(shown.empty());
                continue;
            }
            EXPECT_NE(log.find(std::string("|  ***  ") + c.message + "\r\n"), std::string::npos) << log;
            if (unattended) {
                EXPECT_TRUE(shown.empty());
            } else {
                ASSERT_EQ(shown.size(), 1u);
                EXPECT_EQ(shown[0].text, c.message);
                EXPECT_EQ(shown[0].caption, "Error");
                EXPECT_EQ(shown[0].style, MB_OK | MB_ICONERROR);
            }
            EXPECT_TRUE(fixture.packageFiles().empty());
        }
    }
}
