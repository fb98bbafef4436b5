#include "StartRoutine.h"

#include "TestClock.h"
#include "WorkingFolder.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

using testing::internal::CaptureStderr;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStderr;
using testing::internal::GetCapturedStdout;

const std::string Refused = "\n Missing or invalid value argument for morvane. \n";

struct Box {
    std::string caption;
    std::string text;
    unsigned int style = 0;
    bool operator==(const Box&) const = default;
};

class RecordedBoxes : public MessageBoxService {
public:
    int showBox(const std::string& caption, const std::string& text, unsigned int style) override
    {
        boxes.push_back({caption, text, style});
        return IDOK;
    }
    std::vector<Box> boxes;
};

// What the start routine asked of the window system.
struct WindowSystemUse {
    bool display = true;
    int starts = 0;
    int mainWindows = 0;
    RecordedBoxes messageBoxes;
};

class RecordedWindowSystem : public ProgramWindowSystem {
public:
    explicit RecordedWindowSystem(WindowSystemUse& use) : m_use(use) {}
    bool Start() override
    {
        ++m_use.starts;
        return m_use.display;
    }
    MessageBoxService& messageBoxes() override { return m_use.messageBoxes; }
    int RunMainWindow(MorvaneDlg&) override
    {
        ++m_use.mainWindows;
        return 1;
    }

private:
    WindowSystemUse& m_use;
};

using Collection = std::tuple<std::string, std::string, std::string, int>;

ProcessApi processesNamed(const std::vector<std::string>& names)
{
    return ProcessApi([names](std::vector<platform::ProcessInfo>& processes) {
        processes.clear();
        for (const std::string& name : names)
            processes.push_back({static_cast<std::uint32_t>(processes.size() + 1), name});
        return true;
    });
}

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
    std::vector<Collection> collections;
};

class StartRoutine : public ::testing::Test {
protected:
    Outcome start(const std::vector<std::string>& arguments, const std::vector<std::string>& processes = {"Morvane"})
    {
        Outcome outcome;
        MorvaneProgram program(arguments, std::make_unique<RecordedWindowSystem>(windows), processesNamed(processes),
                               [&outcome](const std::string& description, const std::string& message,
                                          const std::string& problemTime, int unattended) {
                                   outcome.collections.emplace_back(description, message, problemTime, unattended);
                                   return 100u;
                               });
        CaptureStdout();
        CaptureStderr();
        outcome.status = program.InitInstance();
        outcome.out = GetCapturedStdout();
        outcome.err = GetCapturedStderr();
        return outcome;
    }

    std::string log() const { return folder.read("MorvaneLog.txt"); }

    testsupport::WorkingFolder folder;
    testsupport::TestClock clock{{2006, 11, 16, 8, 35, 13}};
    WindowSystemUse windows;
};

TEST_F(StartRoutine, TheWholeLoweredCommandLineChoosesTheOutcome)
{
    enum Expected { Silent, RefusedArgument, MainWindow };
    struct Case {
        std::vector<std::string> arguments;
        Expected expected;
    };
    const std::vector<Case> cases = {
        {{"silent"}, Silent},
        {{"SiLeNt"}, Silent},
        {{"   silent"}, Silent},
        {{"\t silent"}, Silent},
        {{"", "silent"}, Silent},
        {{"-silent"}, RefusedArgument},
        {{"/silent"}, RefusedArgument},
        {{"silent", "x"}, RefusedArgument},
        {{"silent "}, RefusedArgument},
        {{"silent", ""}, RefusedArgument},
        {{"silently"}, RefusedArgument},
        {{}, MainWindow},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.arguments));
        windows = {};
        std::filesystem::remove("MorvaneLog.txt");

        const Outcome outcome = start(c.arguments);

        EXPECT_EQ(outcome.status, 0);
        switch (c.expected) {
        case Silent:
            EXPECT_EQ(outcome.collections,
                      (std::vector<Collection>{{"Files collected in silent mode", "", "2006_11_16_08_35", 1}}));
            EXPECT_EQ(outcome.out, "\nDone\n");
            EXPECT_EQ(outcome.err, "");
            EXPECT_EQ(windows.starts, 0);
            EXPECT_EQ(log(), "");
            break;
        case RefusedArgument:
            EXPECT_TRUE(outcome.collections.empty());
            EXPECT_EQ(outcome.out, Refused);
            EXPECT_EQ(outcome.err, Refused);
            EXPECT_EQ(windows.starts, 0);
            EXPECT_EQ(log(), "11/16/06  08:35:13  |  ***  Missing or invalid value argument for morvane.\r\n");
            break;
        case MainWindow:
            EXPECT_TRUE(outcome.collections.empty());
            EXPECT_EQ(outcome.out, "");
            EXPECT_EQ(windows.starts, 1);
            EXPECT_EQ(windows.mainWindows, 1);
            break;
        }
    }
}

TEST_F(StartRoutine, ASecondCopyEndsAtOnceWithAPlainLogLine)
{
    const Box warning{"Warning", "Morvane is already running", MB_ICONEXCLAMATION | MB_OK};
    struct Case {
        std::vector<std::string> arguments;
        bool display;
        std::vector<Box> boxes;
        bool onStandardError;
    };
    const std::vector<Case> cases = {
        {{"silent"}, true, {}, false},
        {{"SILENT"}, false, {}, false},
        {{}, true, {warning}, false},
        {{"-silent"}, true, {warning}, false},
        {{"silent "}, true, {warning}, false},
        {{}, false, {}, true},
        {{"silent", "x"}, false, {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.arguments) + (c.display ? " with a display" : " without a display"));
        windows = {};
        windows.display = c.display;
        std::filesystem::remove("MorvaneLog.txt");

        const Outcome outcome = start(c.arguments, {"Morvane", "sleep", "morvane"});

        EXPECT_EQ(outcome.status, 0);
        EXPECT_TRUE(outcome.collections.empty());
        EXPECT_EQ(windows.messageBoxes.boxes, c.boxes);
        EXPECT_EQ(windows.mainWindows, 0);
        EXPECT_EQ(windows.starts, c.boxes.empty() && !c.onStandardError ? 0 : 1);
        EXPECT_EQ(outcome.err.find("Morvane is already running") != std::string::npos, c.onStandardError);
        EXPECT_EQ(outcome.out, "");
        EXPECT_EQ(log(), "11/16/06  08:35:13  |  Morvane is already running\r\n");
    }
}

TEST_F(StartRoutine, WithoutADisplayTheMainWindowIsNotShownAndTheStartFails)
{
    windows.display = false;

    const Outcome outcome = start({});

    EXPECT_NE(outcome.status, 0);
    EXPECT_EQ(windows.mainWindows, 0);
    EXPECT_EQ(outcome.out, "");
    EXPECT_TRUE(outcome.collections.empty());
}

} // namespace
