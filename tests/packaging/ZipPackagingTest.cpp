// Packing of a run's working folder: the archive beside it, read back by unzip, zipinfo and
// Python's zipfile; the password and its marker; entries left out; archives that fail.
#include "engine/CollectionEngine.h"

#include "PackagingRun.h"
#include "RunReports.h"
#include "SpecialFiles.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <utility>
#include <vector>

using namespace packagingtest;
using enginetest::Completed;
using ziptest::quoted;
using ziptest::ZipLayout;

namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

// The archive's entries in the order of the walk, each with its source in the working folder
// (empty for a folder entry).
Entries expectedEntries(const std::string& password)
{
    const std::string work = WorkFolder + "/";
    Entries entries;
    if (!password.empty())
        entries.emplace_back(" -PASSWORD=" + password, work + " -PASSWORD=" + password);
    const Entries rest = {
        {"Core/", ""},
        {"Core/Logs/", ""},
        {"Core/Logs/app.log", work + "Core/Logs/app.log"},
        {"Core/Logs/old.gz", work + "Core/Logs/old.gz"},
        {"Core/Logs/Sub/", ""},
        {"Core/Logs/Sub/trace.log", work + "Core/Logs/Sub/trace.log"},
        {"Empty/", ""},
        {"PC042_2006_11_16_08_35.txt", work + "PC042_2006_11_16_08_35.txt"},
    };
    entries.insert(entries.end(), rest.begin(), rest.end());
    return entries;
}

std::vector<std::string> namesIn(const ZipLayout& layout)
{
    std::vector<std::string> names;
    for (const auto& entry : layout.central)
        names.push_back(entry.name);
    return names;
}

std::string unzipTest(const std::string& password)
{
    std::string output;
    const int status = ziptest::run(
        "unzip -t " + (password.empty() ? std::string() : "-P " + quoted(password) + " ") + quoted(Archive), output);
    return status == 0 ? "ok" : output;
}

using ZipPackaging = PackagingRun;

TEST_F(ZipPackaging, TheArchiveBesideTheWorkingFolderHoldsItByteForByte)
{
    for (const std::string password : {"", "s3cret pass"}) {
        SCOPED_TRACE(password.empty() ? "without a password" : "with a password");
        testsupport::WorkingFolder caseFolder;
        CollectionEngine caseEngine;
        prepare(settingsWithPassword(password.empty() ? "0" : "1", password.c_str()), caseFolder);
        const Entries expected = expectedEntries(password);

        pauses.holdNext();
        std::thread worker([&] { caseEngine.run("It broke.", message, 0, ProblemTime); });
        pauses.waitUntilHeld();

        EXPECT_EQ(caseEngine.zipPath, ArchivePath);
        EXPECT_EQ(ziptest::checkWithPython(Archive, password, expected), "ok");
        EXPECT_EQ(unzipTest(password), "ok");
        std::string listing;
        EXPECT_EQ(ziptest::run("zipinfo -1 " + quoted(Archive), listing), 0) << listing;
        std::string names;
        for (const auto& [name, source] : expected)
            names += name + "\n";
        EXPECT_EQ(listing, names);

        std::string error;
        const ZipLayout layout = ZipLayout::read(Archive, error);
        ASSERT_EQ(error, "");
        for (const auto& entry : layout.central) {
            SCOPED_TRACE(entry.name);
            const bool folderEntry = entry.name.back() == '/';
            EXPECT_EQ((entry.flags & 1) != 0, !folderEntry && !password.empty());
            EXPECT_EQ(layout.local(entry).name, entry.name);
        }
        if (!password.empty()) {
            // An empty file entry at the top level, encrypted like every file, its name in clear.
            const auto& marker = layout.central.front();
            EXPECT_EQ(marker.uncompressedSize, 0u);
            EXPECT_EQ(marker.flags, 9);
            EXPECT_EQ(marker.externalAttributes & 0x10, 0u);
        }
        pauses.release();
        worker.join();

        EXPECT_FALSE(caseFolder.exists(WorkFolder));
        EXPECT_TRUE(caseFolder.exists(Archive));
        EXPECT_EQ(caseEngine.zipResult, ZipOk);
    }
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(ZipPackaging, ThePasswordSettingsDecideTheMarkerAndTheEncryption)
{
    struct Case {
        const char* enable; // nullptr: the key is absent
        const char* value;
        const char* password; // the archive's password; nullptr for none
    };
    const std::vector<Case> cases = {
        {"1", "P4ss", "P4ss"},
        {"1", "", nullptr},
        {"1", nullptr, nullptr},
        {"0", "P4ss", nullptr},
        {nullptr, "P4ss", nullptr},
        {"01", "P4ss", nullptr},
        {"yes", "P4ss", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("Password Enable ") + (c.enable ? c.enable : "(absent)") + ", Password Value "
                     + (c.value ? c.value : "(absent)"));
        testsupport::WorkingFolder caseFolder;
        CollectionEngine caseEngine;
        std::string caseMessage;
        prepare(settingsWithPassword(c.enable, c.value), caseFolder);

        EXPECT_EQ(caseEngine.run("It broke.", caseMessage, 0, ProblemTime), 0);

        std::string error;
        const ZipLayout layout = ZipLayout::read(Archive, error);
        ASSERT_EQ(error, "");
        std::vector<std::string> expected;
        for (const auto& [name, source] : expectedEntries(c.password ? c.password : ""))
            expected.push_back(name);
        EXPECT_EQ(namesIn(layout), expected);
        for (const auto& entry : layout.central) {
            if (entry.name.back() != '/') {
                EXPECT_EQ((entry.flags & 1) != 0, c.password != nullptr) << entry.name;
            }
        }
        EXPECT_EQ(unzipTest(c.password ? c.password : ""), "ok");
    }
}

TEST_F(ZipPackaging, APasswordThatCannotNameOneFileGivesNoMarkerAndIsLogged)
{
    // "x\" would otherwise make a marker that names another password, " -PASSWORD=x".
    for (const std::string password : {"x\\", "a/b", "..\\..\\..\\escaped", "../../../escaped"}) {
        SCOPED_TRACE(password);
        testsupport::WorkingFolder caseFolder;
        CollectionEngine caseEngine;
        std::string caseMessage;
        prepare(settingsWithPassword("1", password.c_str()), caseFolder);
        std::set<std::string> expectedTree = treeOf(caseFolder.path());
        expectedTree.insert({"Out/", "Out/PC042_2006_11_16_08_35.zip", "MorvaneLog.txt"});

        EXPECT_EQ(caseEngine.run("It broke.", caseMessage, 0, ProblemTime), 0);

        EXPECT_EQ(treeOf(caseFolder.path()), expectedTree);
        std::string error;
        const ZipLayout layout = ZipLayout::read(Archive, error);
        ASSERT_EQ(error, "");
        std::vector<std::string> expected;
        for (const auto& [name, source] : expectedEntries(""))
            expected.push_back(name);
        EXPECT_EQ(namesIn(layout), expected);
        EXPECT_EQ(unzipTest(password), "ok");
        EXPECT_TRUE(logHasLine(caseFolder.read("MorvaneLog.txt"),
                               "No password marker in '" + WorkFolderPath
                                   + "': the password holds \"\\\" or \"/\", which no file name can hold",
                               true));
    }
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(ZipPackaging, EntriesTheWriterLeavesOutAreLoggedAndTheArchiveStaysValid)
{
    // The working folder as gathering could leave it, packed on its own.
    const std::string work = "Out/W";
    folder.write(work + "/a.txt", "alpha");
    folder.write(work + "/.hidden", "not packed");
    folder.write(work + "/.cache/x.txt", "not packed");
    folder.write(work + "/Sub/b.txt", "beta");
    testsupport::makeFifo(folder.path() / work / "pipe");
    folder.write(work + "/huge.log", "");
    std::filesystem::resize_file(folder.path() / work / "huge.log", std::uint64_t{4} << 30);
    const std::string deepFolder(200, 'd');
    const std::string longName(100, 'n');
    folder.write(work + "/Deep/" + deepFolder + "/" + longName, "too long a name");
    enginetest::writeSettings(folder, "Current_Morvane.ini", settingsWithPassword("0", nullptr), {});
    engine.settingsPath = ".\\Morvane Package\\Current_Morvane.ini";
    engine.workFolder = ".\\Out\\W";
    engine.unattended = 1;

    engine.packWorkFolder();

    EXPECT_EQ(engine.zipPath, ".\\Out\\W.zip");
    EXPECT_EQ(ziptest::checkWithPython("Out/W.zip", "",
                                       {{"a.txt", work + "/a.txt"},
                                        {"Deep/", ""},
                                        {"Deep/" + deepFolder + "/", ""},
                                        {"Sub/", ""},
                                        {"Sub/b.txt", work + "/Sub/b.txt"}}),
              "ok");
    EXPECT_EQ(engine.zipResult, ZipOk);
    const std::string text = log();
    const struct {
        std::string path;
        const char* code;
    } leftOut[] = {
        {".\\Out\\W\\Deep\\" + deepFolder + "\\" + longName, "0x10000"},
        {".\\Out\\W\\huge.log", "0x8000000"},
        {".\\Out\\W\\pipe", "0x200"},
    };
    for (const auto& entry : leftOut) {
        EXPECT_TRUE(logHasLine(text, "File '" + entry.path + "' left out of archive '.\\Out\\W.zip' (result "
                                         + entry.code + ")",
                               true))
            << entry.path;
    }
    EXPECT_EQ(text.find("hidden"), std::string::npos);
    EXPECT_EQ(text.find("cache"), std::string::npos);
    EXPECT_EQ(text.find("ZIP ERROR"), std::string::npos);
}

TEST_F(ZipPackaging, AnArchiveThatCannotBeWrittenWholeKeepsTheWorkingFolder)
{
    struct Case {
        const char* name;
        int unattended;
        const char* code;
        std::function<void(const testsupport::WorkingFolder&)> prepare;
        platform::WriteFaults faults;
    };
    const auto folderInTheWay = [](const testsupport::WorkingFolder& f) {
        std::filesystem::create_directories(f.path() / Archive);
    };
    const auto nothing = [](const testsupport::WorkingFolder&) {};
    const auto fullAfter = [](std::uint64_t limit) {
        return [limit](std::uint64_t offset, std::size_t size) -> std::size_t {
            return offset >= limit ? 0 : static_cast<std::size_t>(std::min<std::uint64_t>(size, limit - offset));
        };
    };
    // The end record is the one 22-byte write of these archives.
    const auto noEndRecord = [](std::uint64_t, std::size_t size) -> std::size_t { return size == 22 ? 0 : size; };
    const auto noSeek = [](std::uint64_t) { return false; };
    const std::vector<Case> cases = {
        {"the archive cannot be created", 0, "0x200", folderInTheWay, {}},
        {"the archive cannot be created, unattended", 1, "0x200", folderInTheWay, {}},
        {"the disk fills up", 0, "0x400", nothing, {fullAfter(300), {}}},
        {"the disk fills up, unattended", 1, "0x400", nothing, {fullAfter(300), {}}},
        {"a local header cannot be rewritten", 0, "0x2000000", nothing, {{}, noSeek}},
        {"the end record cannot be written", 0, "0x400", nothing, {noEndRecord, {}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::WorkingFolder caseFolder;
        testsupport::ScriptedMessageBox caseBoxes;
        const std::size_t before = window.reports().size();
        CollectionEngine caseEngine;
        std::string caseMessage;
        prepare(settingsWithPassword("0", nullptr), caseFolder);
        c.prepare(caseFolder);

        int result = -1;
        {
            const ziptest::InjectedFaults faults(c.faults);
            result = caseEngine.run("It broke.", caseMessage, c.unattended, ProblemTime);
        }

        EXPECT_EQ(result, 0);
        EXPECT_EQ(caseMessage, "Completed.");
        const auto reports = window.reports();
        ASSERT_GT(reports.size(), before);
        EXPECT_EQ(reports.back(), Completed);
        // The transfer is still attempted where it is wanted.
        const bool announced = std::any_of(reports.begin() + static_cast<std::ptrdiff_t>(before), reports.end(),
                                           [](const LibraryMessage& r) { return r.progress == 90; });
        EXPECT_EQ(announced, c.unattended == 1);

        EXPECT_NE(caseEngine.zipResult, ZipOk);
        EXPECT_EQ(caseFolder.read(WorkFolder + "/Core/Logs/app.log"), caseFolder.read("Logs/app.log"));
        EXPECT_TRUE(caseFolder.exists(WorkFolder + "/PC042_2006_11_16_08_35.txt"));
        const std::string text = "ZIP ERROR !!!  Archive '" + ArchivePath + "' could not be written whole (result "
                                 + c.code + "); the collected files stay in '" + WorkFolderPath + "'";
        EXPECT_TRUE(logHasLine(caseFolder.read("MorvaneLog.txt"), text, true));
        const auto shown = caseBoxes.shown();
        if (c.unattended) {
            EXPECT_TRUE(shown.empty());
        } else {
            ASSERT_EQ(shown.size(), 1u);
            EXPECT_EQ(shown[0].text, text);
            EXPECT_EQ(shown[0].caption, "Error");
        }
    }
}

TEST_F(ZipPackaging, AWholeArchiveAfterAFailedOneLetsTheRunDeleteItsWorkingFolder)
{
    prepare(settingsWithPassword("0", nullptr));
    std::filesystem::create_directories(folder.path() / Archive);
    EXPECT_EQ(run(), 0);
    ASSERT_NE(engine.zipResult, ZipOk);
    ASSERT_TRUE(folder.exists(WorkFolder));
    std::filesystem::remove(folder.path() / Archive);

    EXPECT_EQ(run(), 0);

    EXPECT_EQ(engine.zipResult, ZipOk);
    EXPECT_FALSE(folder.exists(WorkFolder));
    EXPECT_EQ(unzipTest(""), "ok");
}

} // namespace
