// A collection run in a working folder of its own, for the packaging tests: a store with one
// package "Core" that copies the fixture folder Logs whole and one package "Empty" without
// rules, the window and the message boxes recorded, and every pause replaced.
#pragma once

#include "engine/CollectionEngine.h"

#include "ReportRecorder.h"
#include "ScriptedMessageBox.h"
#include "StoreFiles.h"
#include "TestPause.h"
#include "WorkingFolder.h"
#include "ZipTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <thread>

namespace packagingtest {

inline const std::string ProblemTime = "2006_11_16_08_35";
inline const std::string WorkFolder = "Out/PC042_2006_11_16_08_35";
inline const std::string Archive = "Out/PC042_2006_11_16_08_35.zip";
inline const std::string ArchivePath = ".\\Out\\PC042_2006_11_16_08_35.zip";
inline const std::string WorkFolderPath = ".\\Out\\PC042_2006_11_16_08_35";

// The settings of the engine tests with the password keys given (nullptr: the key is absent).
inline enginetest::Settings settingsWithPassword(const char* enable, const char* value)
{
    enginetest::Settings settings;
    for (const auto& setting : enginetest::defaultSettings()) {
        if (setting.first != "Password Enable")
            settings.push_back(setting);
    }
    if (enable)
        settings.emplace_back("Password Enable", enable);
    if (value)
        settings.emplace_back("Password Value", value);
    return settings;
}

// True when the log holds the line "<stamp>  |  [***  ]text".
inline bool logHasLine(const std::string& log, const std::string& text, bool marked)
{
    return log.find("  |  " + std::string(marked ? "***  " : "") + text + "\r\n") != std::string::npos;
}

// Every path below the folder, relative to it, with "/" after folder names.
inline std::set<std::string> treeOf(const std::filesystem::path& folder)
{
    std::set<std::string> paths;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        std::string path = std::filesystem::relative(entry.path(), folder).string();
        if (entry.is_directory())
            path += '/';
        paths.insert(path);
    }
    return paths;
}

class PackagingRun : public ::testing::Test {
protected:
    // Writes the store and the fixture folder Logs with a text log, a compressed file and a
    // subfolder, all copied into Core\Logs by the run.
    void prepare(const enginetest::Settings& settings, const testsupport::WorkingFolder& where) const
    {
        enginetest::writeSettings(where, "Current_Morvane.ini", settings, {"Core", "Empty"});
        enginetest::writePackage(where, "Current_Package_Core.ini", {{"0", "1", ".\\Logs\\", "*.*"}}, {});
        enginetest::writePackage(where, "Current_Package_Empty.ini", {}, {});
        where.write("Logs/app.log", ziptest::logText(200000, 1));
        where.write("Logs/old.gz", ziptest::randomBytes(5000, 2));
        where.write("Logs/Sub/trace.log", ziptest::logText(30000, 3));
    }

    void prepare(const enginetest::Settings& settings) const { prepare(settings, folder); }

    int run(int unattended = 0)
    {
        return engine.run("It broke.", message, unattended, ProblemTime);
    }

    // Runs on a thread of its own and looks at the folders while the run is held in its pause
    // before the working folder is deleted, after the archive was written.
    void runHeldBeforeCleanup(const std::function<void()>& whileHeld, int unattended = 0)
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

    testsupport::WorkingFolder folder;
    testsupport::TestPause pauses;
    testsupport::ReportRecorder window;
    testsupport::ScriptedMessageBox boxes;
    CollectionEngine engine;
    std::string message;
};

} // namespace packagingtest
