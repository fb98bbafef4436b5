#include "engine/CollectionEngine.h"

#include "WorkingFolder.h"

#include <gtest/gtest.h>

namespace {

const std::string Heading = "Morvane Version 2.00.17\r\n\r\nProblem Description: \r\n\r\n\r\n";

class ProblemReport : public ::testing::Test {
protected:
    ProblemReport()
    {
        engine.localDirectory = ".\\Reports\\";
        engine.machineId = "PC042";
        engine.problemTime = "2006_11_16_08_35";
    }

    std::string reportBytes() const
    {
        return folder.read("Reports/PC042_2006_11_16_08_35/PC042_2006_11_16_08_35.txt");
    }

    testsupport::WorkingFolder folder;
    CollectionEngine engine;
};

TEST_F(ProblemReport, NamesTheWorkingFolderAndTheArchiveAndWritesTheReportByteForByte)
{
    struct Case {
        const char* description;
        std::string bytes;
    };
    const std::vector<Case> cases = {
        {"", Heading + "\r\n"},
        {"The printer queue hangs.", Heading + "The printer queue hangs.\r\n"},
        {"first\nsecond", Heading + "first\r\nsecond\r\n"},
        {"first\r\nsecond\r\n", Heading + "first\r\nsecond\r\n\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.description);
        testsupport::WorkingFolder caseFolder;
        engine.writeProblemReport(c.description);
        EXPECT_EQ(engine.workFolder, ".\\Reports\\PC042_2006_11_16_08_35");
        EXPECT_EQ(engine.zipName, "PC042_2006_11_16_08_35.zip");
        EXPECT_EQ(caseFolder.read("Reports/PC042_2006_11_16_08_35/PC042_2006_11_16_08_35.txt"), c.bytes);
    }
}

TEST_F(ProblemReport, ASecondReportOfTheSameMinuteFollowsTheFirst)
{
    engine.writeProblemReport("first run");
    engine.writeProblemReport("second run");
    EXPECT_EQ(reportBytes(), Heading + "first run\r\n" + Heading + "second run\r\n");
}

TEST_F(ProblemReport, AWorkingFolderThatCannotBeMadeLeavesNoReport)
{
    folder.write("Reports", "a file where the output folder should be");
    engine.writeProblemReport("lost");
    EXPECT_EQ(folder.read("Reports"), "a file where the output folder should be");
}

} // namespace
