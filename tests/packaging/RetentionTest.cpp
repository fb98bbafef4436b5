// The retention rule of the local output folder, applied by the run before its working folder
// exists: the nine newest archives stay beside the new one, nothing else is touched.
#include "platform/FileTime.h"

#include "PackagingRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace packagingtest;

namespace {

constexpr std::int64_t SecondsFrom1601To1970 = 11644473600;

// The step of the platform's file time that a moment falls in: its upper 32 bits.
std::uint32_t stepOf(std::time_t seconds)
{
    return static_cast<std::uint32_t>((static_cast<std::uint64_t>(seconds + SecondsFrom1601To1970) * 10000000) >> 32);
}

void writeArchive(const testsupport::WorkingFolder& where, const std::string& name, std::time_t lastWrite)
{
    ziptest::writeSource(where.path() / "Out" / name, "old archive " + name, lastWrite, lastWrite);
}

std::set<std::string> outputFolder(const testsupport::WorkingFolder& where)
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(where.path() / "Out"))
        names.insert(entry.path().filename().string());
    return names;
}

const std::time_t Oldest = ziptest::utc(2006, 11, 1, 8, 0, 0);
constexpr std::time_t EightMinutes = 8 * 60;

using Retention = PackagingRun;

TEST_F(Retention, TheNineNewestOldArchivesStayAndOtherFilesAreNeverTouched)
{
    // Each archive was written its age times eight minutes after the oldest; listing order (by
    // name) is not the order of their times, and the oldest is spelt in capitals.
    const std::vector<std::pair<std::string, int>> archives = {
        {"PC042_A.zip", 5}, {"PC042_B.zip", 9}, {"PC042_C.ZIP", 0}, {"PC042_D.zip", 3},
        {"PC042_E.zip", 10}, {"PC042_F.zip", 1}, {"PC042_G.zip", 7}, {"PC042_H.zip", 2},
        {"PC042_I.zip", 8}, {"PC042_J.zip", 4}, {"PC042_K.zip", 6}};
    for (const std::size_t count : {7u, 8u, 9u, 10u, 11u}) {
        SCOPED_TRACE(std::to_string(count) + " old archives");
        testsupport::WorkingFolder caseFolder;
        CollectionEngine caseEngine;
        std::string caseMessage;
        prepare(settingsWithPassword("0", nullptr), caseFolder);
        // The count youngest of them.
        std::vector<std::pair<int, std::string>> byAge;
        for (const auto& [name, age] : archives) {
            if (age >= static_cast<int>(archives.size() - count))
                byAge.emplace_back(age, name);
        }
        for (const auto& [age, name] : byAge)
            writeArchive(caseFolder, name, Oldest + age * EightMinutes);
        // Older than every archive, and no archive: never deleted.
        ziptest::writeSource(caseFolder.path() / "Out/Readme.txt", "read me", Oldest - 3600, Oldest - 3600);
        ziptest::writeSource(caseFolder.path() / "Out/.kept.zip", "hidden", Oldest - 3600, Oldest - 3600);

        EXPECT_EQ(caseEngine.run("It broke.", caseMessage, 0, ProblemTime), 0);

        std::sort(byAge.begin(), byAge.end());
        const std::size_t deleted = count > 9 ? count - 9 : 0;
        std::set<std::string> expected = {"Readme.txt", ".kept.zip", "PC042_2006_11_16_08_35.zip"};
        for (std::size_t i = deleted; i < byAge.size(); ++i)
            expected.insert(byAge[i].second);
        EXPECT_EQ(outputFolder(caseFolder), expected);
        EXPECT_EQ(caseFolder.read("Out/Readme.txt"), "read me");
    }
}

TEST_F(Retention, ArchivesInTheSameStepOfTimeCompareEqualAndTheOneListedFirstStays)
{
    // A moment early in a step of 2^32 x 100 ns, so that 30 s later is still in that step.
    std::time_t start = Oldest;
    while (stepOf(start - 10) == stepOf(start))
        ++start;
    const std::time_t inStep = start + 10;
    ASSERT_EQ(stepOf(inStep), stepOf(inStep + 30));

    // Eight newer archives, listed between the two of the same step.
    for (const bool firstIsOlder : {true, false}) {
        SCOPED_TRACE(firstIsOlder ? "the first listed is older" : "the first listed is newer");
        testsupport::WorkingFolder caseFolder;
        CollectionEngine caseEngine;
        std::string caseMessage;
        prepare(settingsWithPassword("0", nullptr), caseFolder);
        writeArchive(caseFolder, "A_same_step.zip", firstIsOlder ? inStep : inStep + 30);
        writeArchive(caseFolder, "Z_same_step.zip", firstIsOlder ? inStep + 30 : inStep);
        std::set<std::string> expected = {"A_same_step.zip", "PC042_2006_11_16_08_35.zip"};
        for (int i = 1; i <= 8; ++i) {
            const std::string name = "M" + std::to_string(i) + ".zip";
            writeArchive(caseFolder, name, Oldest + 3600 + i * EightMinutes);
            expected.insert(name);
        }

        EXPECT_EQ(caseEngine.run("It broke.", caseMessage, 0, ProblemTime), 0);

        EXPECT_EQ(outputFolder(caseFolder), expected);
    }
}

TEST(FileTime, LastWriteTimeCountsHundredNanosecondsSince1601)
{
    testsupport::WorkingFolder folder;
    folder.write("a.zip", "x");
    const struct timespec times[2] = {{0, UTIME_OMIT}, {ziptest::utc(2006, 11, 16, 8, 35, 0), 123456789}};
    ASSERT_EQ(::utimensat(AT_FDCWD, "a.zip", times, 0), 0);
    ASSERT_EQ(::symlink("missing", "dangling.zip"), 0);

    std::uint64_t fileTime = 0;
    ASSERT_TRUE(platform::getLastWriteFileTime(".\\A.ZIP", fileTime));
    EXPECT_EQ(fileTime, (static_cast<std::uint64_t>(ziptest::utc(2006, 11, 16, 8, 35, 0)) + SecondsFrom1601To1970)
                                * 10000000
                            + 1234567);
    EXPECT_TRUE(platform::getLastWriteFileTime(".\\dangling.zip", fileTime));
    EXPECT_FALSE(platform::getLastWriteFileTime(".\\none.zip", fileTime));
}

} // namespace
