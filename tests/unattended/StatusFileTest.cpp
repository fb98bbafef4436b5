#include "engine/CollectionEngine.h"
#include "engine/StatusFile.h"
#include "platform/Profile.h"

#include "ReportRecorder.h"
#include "TestPause.h"
#include "WorkingFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>

using namespace std::chrono_literals;

void PrintTo(const StatusRecord& record, std::ostream* out)
{
    *out << "{" << record.ID << ", " << record.STATUS << ", \"" << record.DESCRIPTION << "\"}";
}

namespace {

const std::filesystem::path StatusFile = "Morvane Package/morvaneStatus.ini";

// A status file holding these entries in slots 0, 1, ...
std::string statusText(const std::vector<StatusRecord>& entries)
{
    std::string text = "[Statusmorvane]\r\n";
    for (std::size_t slot = 0; slot < entries.size(); ++slot) {
        const std::string n = std::to_string(slot);
        text += n + ")ID=" + entries[slot].ID + "\r\n" + n + ")STATUS=" + entries[slot].STATUS + "\r\n" + n
                + ")DESCRIPTION=" + entries[slot].DESCRIPTION + "\r\n";
    }
    return text;
}

std::vector<StatusRecord> completedRuns(const std::vector<std::string>& ids)
{
    std::vector<StatusRecord> entries;
    for (const std::string& id : ids)
        entries.push_back({id, "COMPLETE", "Completed."});
    return entries;
}

class StatusFileTest : public ::testing::Test {
protected:
    StatusFileTest() { std::filesystem::create_directory("Morvane Package"); }

    void writeEntries(const std::vector<StatusRecord>& entries) const
    {
        folder.write(StatusFile, statusText(entries));
    }

    std::string key(int slot, const std::string& name) const
    {
        return platform::profileValue(folder.read(StatusFile), "Statusmorvane", std::to_string(slot) + ")" + name);
    }

    StatusRecord entry(int slot) const { return {key(slot, "ID"), key(slot, "STATUS"), key(slot, "DESCRIPTION")}; }

    bool hasKey(int slot, const std::string& name) const
    {
        return folder.read(StatusFile).find("\r\n" + std::to_string(slot) + ")" + name + "=") != std::string::npos;
    }

    testsupport::WorkingFolder folder;
    testsupport::TestPause pauses;
};

TEST_F(StatusFileTest, ANewEntryTakesTheFirstFreeSlotOrReplacesTheSmallestId)
{
    const std::vector<std::string> sevenAbove = {"080001", "120000", "130000", "140000", "150000", "160000", "170000"};
    std::vector<std::string> elevenIds = {"235959", "100000", "090000", "080000"};
    elevenIds.insert(elevenIds.end(), sevenAbove.begin(), sevenAbove.end());

    struct Case {
        const char* name;
        bool fileExists;
        std::vector<std::string> ids;
        int expectedSlot;
    };
    const std::vector<Case> cases = {
        {"no status file yet", false, {}, 0},
        {"an empty status file", true, {}, 0},
        {"three entries", true, {"101010", "111111", "121212"}, 3},
        {"ten entries", true, {"01", "02", "03", "04", "05", "06", "07", "08", "09", "10"}, 10},
        {"eleven entries, 080000 the smallest", true, elevenIds, 3},
        {"two smallest equal IDs", true,
         {"120000", "070000", "130000", "070000", "140000", "150000", "160000", "170000", "180000", "190000", "200000"},
         3},
        {"a 0 ID gives way to the next slot", true,
         {"090000", "000000", "100000", "110000", "120000", "130000", "140000", "150000", "160000", "170000", "180000"},
         2},
        {"a twelfth slot takes part", true,
         {"120000", "130000", "140000", "150000", "160000", "170000", "180000", "190000", "200000", "210000", "220000",
          "060000"},
         11},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(StatusFile);
        if (c.fileExists)
            writeEntries(completedRuns(c.ids));
        const std::size_t pausesBefore = pauses.pauses().size();

        ASSERT_TRUE(addWorkingEntry("083513"));

        EXPECT_EQ(entry(c.expectedSlot), (StatusRecord{"083513", "WORKING", ""}));
        EXPECT_TRUE(hasKey(c.expectedSlot, "DESCRIPTION"));
        for (int slot = 0; slot < static_cast<int>(c.ids.size()); ++slot) {
            if (slot != c.expectedSlot) {
                EXPECT_EQ(entry(slot), (StatusRecord{c.ids[slot], "COMPLETE", "Completed."})) << "slot " << slot;
            }
        }
        EXPECT_FALSE(hasKey(static_cast<int>(std::max(c.ids.size(), std::size_t(c.expectedSlot + 1))), "ID"));
        const auto recorded = pauses.pauses();
        ASSERT_EQ(recorded.size(), pausesBefore + 1);
        EXPECT_EQ(recorded.back(), 2000ms);
    }
}

TEST_F(StatusFileTest, WithoutAStoreFolderNoEntryIsWrittenAndNothingWaits)
{
    std::filesystem::remove("Morvane Package");

    EXPECT_FALSE(addWorkingEntry("083513"));

    EXPECT_FALSE(folder.exists("Morvane Package"));
    EXPECT_TRUE(pauses.pauses().empty());
}

TEST_F(StatusFileTest, AReportWritesItsStatusAndTextIntoTheRunsOwnSlot)
{
    struct Case {
        int eventCode;
        const char* status;
    };
    const std::vector<Case> cases = {{0, "COMPLETE"}, {1, "FAIL"}, {2, "FAIL"},    {3, "FAIL"},      {4, "FAIL"},
                                     {-1, "WORKING"}, {101, "WORKING"}, {5, ""}, {100, ""}};
    const std::vector<StatusRecord> others = completedRuns({"070000", "090000"});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.eventCode);
        writeEntries({others[0], {"083513", "WORKING", ""}, others[1]});
        CollectionEngine engine;
        engine.statusId = "083513";
        LibraryMessage record = testsupport::report(50, "Zip Files", c.eventCode, 1);

        updateEntry(engine, record);

        EXPECT_EQ(engine.statusSlot, 1);
        EXPECT_EQ(entry(1), (StatusRecord{"083513", c.status, "Zip Files"}));
        EXPECT_EQ(entry(0), others[0]);
        EXPECT_EQ(entry(2), others[1]);
        EXPECT_FALSE(hasKey(3, "ID"));
    }
}

TEST_F(StatusFileTest, AReportOfARunWithoutEntryTakesTheFirstFreeSlot)
{
    writeEntries(completedRuns({"070000", "090000"}));
    CollectionEngine engine;
    engine.statusId = "083513";

    updateEntry(engine, testsupport::report(20, "Running...", -1, 1));

    EXPECT_EQ(engine.statusSlot, 2);
    EXPECT_EQ(entry(2), (StatusRecord{"083513", "WORKING", "Running..."}));
}

// Once eleven newer runs hold every slot, the run goes on in a twelfth rather than taking the
// entry of another run, and that slot stays in the rotation of new entries.
TEST_F(StatusFileTest, ARunWhoseEntryWasReplacedGoesOnInATwelfthSlot)
{
    const std::vector<std::string> ids = {"090000", "100000", "110000", "120000", "130000", "140000",
                                          "150000", "160000", "170000", "180000", "190000"};
    writeEntries(completedRuns(ids));
    CollectionEngine engine;
    engine.statusId = "083513";

    updateEntry(engine, testsupport::report(95, "Completed.", 0, 1));

    EXPECT_EQ(engine.statusSlot, 11);
    EXPECT_EQ(entry(11), (StatusRecord{"083513", "COMPLETE", "Completed."}));
    for (int slot = 0; slot < 11; ++slot)
        EXPECT_EQ(entry(slot), (StatusRecord{ids[slot], "COMPLETE", "Completed."})) << "slot " << slot;
    std::string description;
    EXPECT_EQ(findEntry(83513, description), StatusComplete);
    EXPECT_EQ(description, "Completed.");

    // The twelfth entry holds the smallest ID: the next run replaces it.
    ASSERT_TRUE(addWorkingEntry("200000"));
    EXPECT_EQ(entry(11), (StatusRecord{"200000", "WORKING", ""}));
}

TEST_F(StatusFileTest, AReportOfARunWithoutStatusIdLeavesTheFileAlone)
{
    CollectionEngine engine;
    const LibraryMessage record = testsupport::report(95, "Completed.", 0, 1);

    updateEntry(engine, record);
    EXPECT_FALSE(folder.exists(StatusFile));

    writeEntries({{"", "WORKING", ""}, {"083513", "WORKING", "Zip Files"}});
    const std::string before = folder.read(StatusFile);
    updateEntry(engine, record);
    EXPECT_EQ(folder.read(StatusFile), before);
}

// A reader that opened the file before an update goes on reading the whole previous file, and the
// update's three keys arrive together.
TEST_F(StatusFileTest, AnUpdateReplacesTheWholeFileAtOnce)
{
    writeEntries({{"083513", "WORKING", ""}});
    const std::string before = folder.read(StatusFile);
    std::ifstream reader(folder.path() / StatusFile, std::ios::binary);
    struct stat previous {};
    ASSERT_EQ(::stat(StatusFile.c_str(), &previous), 0);
    CollectionEngine engine;
    engine.statusId = "083513";

    updateEntry(engine, testsupport::report(95, "Completed.", 0, 1));

    struct stat replaced {};
    ASSERT_EQ(::stat(StatusFile.c_str(), &replaced), 0);
    EXPECT_NE(replaced.st_ino, previous.st_ino);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(reader), std::istreambuf_iterator<char>()), before);
    EXPECT_EQ(entry(0), (StatusRecord{"083513", "COMPLETE", "Completed."}));
}

TEST_F(StatusFileTest, FindingAnEntryGivesItsCodeAndDescription)
{
    const std::string longText(300, 'x');
    struct Case {
        const char* name;
        std::vector<StatusRecord> entries;
        std::uint32_t runId;
        int code;
        std::string description;
    };
    const std::vector<Case> cases = {
        {"working", {{"083513", "WORKING", "Running..."}}, 83513, StatusWorking, "Running..."},
        {"complete", {{"083513", "COMPLETE", "Completed."}}, 83513, StatusComplete, "Completed."},
        {"failed", {{"083513", "FAIL", "No packages are available."}}, 83513, StatusFailed, "No packages are available."},
        {"an unknown STATUS text", {{"083513", "DONE", "Completed."}}, 83513, StatusWorking, "Completed."},
        {"an empty STATUS", {{"083513", "", ""}}, 83513, StatusWorking, ""},
        {"a later slot", completedRuns({"070000", "083513"}), 83513, StatusComplete, "Completed."},
        {"an unknown ID", completedRuns({"070000", "090000"}), 83513, StatusMissing, ""},
        {"after an empty ID nothing counts", {{"", "", ""}, {"083513", "COMPLETE", "Completed."}}, 83513,
         StatusMissing, ""},
        {"no status file", {}, 83513, StatusMissing, ""},
        {"an ID read to six characters", {{"0835139", "COMPLETE", "Completed."}}, 83513, StatusComplete, "Completed."},
        {"a description read to 253 characters", {{"083513", "WORKING", longText}}, 83513, StatusWorking,
         longText.substr(0, 253)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(StatusFile);
        if (!c.entries.empty())
            writeEntries(c.entries);
        std::string description = "left from before";

        EXPECT_EQ(findEntry(c.runId, description), c.code);
        EXPECT_EQ(description, c.description);
    }
}

} // namespace
