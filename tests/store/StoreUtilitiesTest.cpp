#include "store/PackageStore.h"

#include "ScriptedMessageBox.h"
#include "TestClock.h"
#include "WorkingFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

namespace fs = std::filesystem;

namespace {

const platform::LocalTime MarchFifth{2007, 3, 5, 14, 7, 9};

void writeText(const fs::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

std::string readText(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Puts an "xdg-open" first on PATH that records the document it was asked to open.
class RecordingOpener {
public:
    explicit RecordingOpener(const fs::path& folder)
        : m_record(folder / "opened.txt")
    {
        const fs::path bin = folder / "bin";
        fs::create_directories(bin);
        const fs::path script = bin / "xdg-open";
        writeText(script, "#!/bin/sh\nprintf '%s' \"$1\" > '" + m_record.string() + ".part'\n"
                                                  "mv '" + m_record.string() + ".part' '" + m_record.string() + "'\n");
        fs::permissions(script, fs::perms(0755));
        const char* path = std::getenv("PATH");
        m_previousPath = path ? path : "";
        ::setenv("PATH", (bin.string() + ":" + m_previousPath).c_str(), 1);
    }
    ~RecordingOpener() { ::setenv("PATH", m_previousPath.c_str(), 1); }

    // The document the viewer was started on; waits for the background start to finish.
    std::string opened() const
    {
        for (int attempt = 0; attempt < 1000 && !fs::exists(m_record); ++attempt)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return readText(m_record);
    }

private:
    fs::path m_record;
    std::string m_previousPath;
};

} // namespace

TEST(GetField, SplitsJoinedTexts)
{
    struct Case {
        std::string text;
        int field;
        char separator;
        std::string result;
    };
    const std::string longField(600, 'd');
    const Case cases[] = {
        {"a,b,c", 1, ',', "b"},
        {"a,b,c", 0, ',', "a"},
        {"a,b,c", 2, ',', "c"},
        {"abc", 0, ',', ""},
        {"", 0, '*', ""},
        {"  Lab \t*XLab*", 0, '*', "Lab"},
        {"Lab*XLab*", 1, '*', "XLab"},
        {"Lab*XLab*", 2, '*', ""},
        {"Lab*XLab*", 7, '*', ""},
        {"5,1,,", 2, ',', ""},
        {"5,1,,", 3, ',', ""},
        {"5,1,C:\\var\\log\\ ,\r\n*.log\r\n", 3, ',', "*.log"},
        {"9," + longField + ",x", 1, ',', longField},
        {"03/05/07", 2, '/', "07"},
    };
    PackageStore store;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 40) + " field " + std::to_string(c.field));
        std::string buffer = "stale";
        EXPECT_EQ(store.GetField(c.text, c.field, c.separator, buffer), c.result);
        EXPECT_EQ(buffer, c.result);
    }
}

TEST(CheckNameCharacters, RejectsCharactersNamesMayNotHold)
{
    struct Case {
        const char* text;
        bool forbidStar;
        bool acceptable;
        const char* offending;
    };
    const Case cases[] = {
        {"System Logs", true, true, "untouched"},
        {"*.log", false, true, "untouched"},
        {"*.log", true, false, "*"},
        {"", false, false, ""},
        {"a/b", true, false, "/"},
        {"a\\b", true, false, "\\"},
        {"a|b", true, false, "|"},
        {"a?b", true, false, "?"},
        {"a:b", true, false, ":"},
        {"a'b", true, false, "'"},
        {"a<b", true, false, "<"},
        {"a>b", true, false, ">"},
        {"a>b/c", true, false, ">"},
        {"a>b*c", true, false, "*"},
        {"a>b*c", false, false, ">"},
    };
    PackageStore store;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::string offending = "untouched";
        EXPECT_EQ(store.CheckNameCharacters(c.text, c.forbidStar, offending), c.acceptable);
        EXPECT_EQ(offending, c.offending);
    }
}

TEST(MakeTimestamp, NamesTheMinuteAndTheSecond)
{
    struct Case {
        platform::LocalTime now;
        const char* stamp;
        const char* time;
    };
    const Case cases[] = {
        {MarchFifth, "2007_03_05_14_07", "14_07_09"},
        {{2026, 12, 31, 0, 0, 0}, "2026_12_31_00_00", "00_00_00"},
        {{2010, 1, 9, 23, 59, 58}, "2010_01_09_23_59", "23_59_58"},
    };
    PackageStore store;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stamp);
        testsupport::TestClock clock(c.now);
        std::string time;
        EXPECT_EQ(store.MakeTimestamp(time), c.stamp);
        EXPECT_EQ(time, c.time);
    }
}

TEST(AppendLogLine, WritesTheLineFormatByteForByte)
{
    testsupport::WorkingFolder folder;
    testsupport::TestClock clock(MarchFifth);
    PackageStore store;
    EXPECT_TRUE(store.AppendLogLine("Collection started", true));
    clock.set({2007, 3, 5, 9, 5, 1});
    EXPECT_TRUE(store.AppendLogLine("Copy failed\nfor C:\\var\\log\\syslog\n", false));
    EXPECT_EQ(folder.read("MorvaneLog.txt"), "03/05/07  14:07:09  |  Collection started\r\n"
                                             "03/05/07  09:05:01  |  ***  Copy failed for C:\\var\\log\\syslog \r\n");
}

TEST(AppendLogLine, AnUnwritableLogLosesTheLineAndStillSucceeds)
{
    testsupport::WorkingFolder folder;
    fs::create_directory(folder.path() / "MorvaneLog.txt");
    PackageStore store;
    EXPECT_TRUE(store.AppendLogLine("lost", true));
    EXPECT_TRUE(fs::is_directory(folder.path() / "MorvaneLog.txt"));
}

TEST(ReportMessage, LogsAndShowsThroughTheMessageBoxHook)
{
    testsupport::WorkingFolder folder;
    testsupport::TestClock clock(MarchFifth);
    PackageStore store;

    EXPECT_EQ(store.ReportMessage("Nobody to show it to.", MB_OK | MB_ICONERROR, true, false), -1);

    testsupport::ScriptedMessageBox boxes;
    boxes.setNextAnswer(IDNO);
    EXPECT_EQ(store.ReportMessage("Delete the package?", MB_YESNO | MB_ICONEXCLAMATION, true, true), IDNO);
    EXPECT_EQ(store.ReportMessage("Not shown.", MB_OK | MB_ICONERROR, false, false), -1);
    EXPECT_EQ(store.ReportMessage("Something failed.", MB_OK | MB_ICONERROR, true, false), IDOK);

    const auto shown = boxes.shown();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, "Delete the package?");
    EXPECT_EQ(shown[0].caption, "Confirmation");
    EXPECT_EQ(shown[0].style, MB_YESNO | MB_ICONEXCLAMATION);
    EXPECT_EQ(shown[1].caption, "Error");
    EXPECT_EQ(shown[1].style, MB_OK | MB_ICONERROR);

    EXPECT_EQ(folder.read("MorvaneLog.txt"), "03/05/07  14:07:09  |  ***  Nobody to show it to.\r\n"
                                             "03/05/07  14:07:09  |  Delete the package?\r\n"
                                             "03/05/07  14:07:09  |  ***  Not shown.\r\n"
                                             "03/05/07  14:07:09  |  ***  Something failed.\r\n");
}

TEST(HelpDocument, OpensTheFirstDocumentThatExists)
{
    testsupport::WorkingFolder folder;
    RecordingOpener opener(folder.path());
    PackageStore store;
    EXPECT_FALSE(store.OpenHelpDocument());

    folder.write("Morvane.mht", "mht");
    folder.write("Morvane.htm", "htm");
    EXPECT_TRUE(store.OpenHelpDocument());
    EXPECT_EQ(opener.opened(), "./Morvane.htm");
}

TEST(HelpDocument, OpeningADocumentSucceedsEvenWhenNoViewerCanShowIt)
{
    testsupport::WorkingFolder folder;
    const char* path = std::getenv("PATH");
    const std::string previous = path ? path : "";
    ::setenv("PATH", folder.path().c_str(), 1);
    PackageStore store;
    EXPECT_TRUE(store.OpenDocument(".\\missing.pdf", 1));
    ::setenv("PATH", previous.c_str(), 1);
    EXPECT_EQ(store.VersionText(), "Morvane Version 2.00.17");
}
