#include "Advanced.h"
#include "MachineId.h"
#include "MorvaneDlg.h"
#include "ScriptedMessageBoxes.h"
#include "ScriptedScreen.h"

#include "WorkingFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <typeindex>
#include <vector>

namespace {

constexpr char TransferFlagOff[] =
    " The 'Transfer to FTP Server' flag is off and data will only be saved locally.\n Do you want to continue?";
constexpr char NoMachineIdReported[] = "No unique machine ID is defined.";

constexpr int CancelAnswer = 2;
const int CommandButtons[] = {1000, 1001, 1061, 1031, 1066, 1067, 1077, 1035, 1036, 1037, 1064, 1063};

// The main window over a store with the packages A and B, both selected, and the transfer off,
// so that Collect asks its first question.
class MainWindowDialogsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::string settings = "[CONFIGURATION]\r\nPerform FTP=0\r\nComputer Name=NULL\r\n"
                                     "Registry Field=NULL\r\nUser Defined=NULL\r\n"
                                     "[SELECT PACKAGE]\r\n0)Name=A\r\n1)Name=B\r\n";
        folder.write("Morvane Package/Morvane.ini", settings);
        folder.write("Morvane Package/package_A.ini", "[FILES]\r\n");
        folder.write("Morvane Package/package_B.ini", "[FILES]\r\n");
        window.attach(&screen);
        window.OnInitDialog();
    }

    // Collect, the transfer question answered Yes, and the library's report that no machine ID
    // is defined; the questions after the report get these answers.
    void collectWithoutMachineId(std::vector<int> answers = {})
    {
        boxes.setNextAnswer(IDYES);
        window.OnCollect();
        ASSERT_EQ(calls, 1);
        boxes.clear();
        for (int answer : answers)
            boxes.setNextAnswer(answer);
        LibraryMessage report;
        report.progress = 10;
        report.messageText = NoMachineIdReported;
        report.eventCode = 2;
        window.OnLibraryMessage(report);
    }

    void expectIdle()
    {
        EXPECT_TRUE(screen.closeEnabled);
        EXPECT_EQ(screen.control(MorvaneDlg::ProgressBar).value, 0);
        for (int button : CommandButtons)
            EXPECT_TRUE(screen.control(button).enabled) << button;
    }

    testsupport::WorkingFolder folder;
    PackageStore store;
    ScriptedMessageBoxes boxes;
    ScriptedScreen screen;
    int calls = 0;
    MorvaneDlg window{store, &boxes, [this](const std::string&, const std::string&, const std::string&, int) {
                          ++calls;
                          return 100u;
                      }};
};

TEST_F(MainWindowDialogsTest, SettingsOpensTheSettingsDialogAndSilencesTheTransferQuestion)
{
    screen.setNextDialog([](Dialog& opened) {
        EXPECT_NE(dynamic_cast<Advanced*>(&opened), nullptr);
        return CancelAnswer;
    });
    window.OnSettings();
    EXPECT_EQ(window.settingsOpened, 1);
    window.OnCollect();
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(calls, 1);
}

TEST_F(MainWindowDialogsTest, AMissingMachineIdOpensItsDialogAndOKCollectsAgainFromTheStart)
{
    screen.setNextDialog([](Dialog& opened) {
        EXPECT_NE(dynamic_cast<MachineId*>(&opened), nullptr);
        return IDOK;
    });
    collectWithoutMachineId({IDOK, IDYES});
    EXPECT_EQ(boxes.texts(), (std::vector<std::string>{NoMachineIdReported, TransferFlagOff}));
    EXPECT_EQ(calls, 2);
    EXPECT_FALSE(screen.closeEnabled);
    for (int button : CommandButtons)
        EXPECT_FALSE(screen.control(button).enabled) << button;
}

TEST_F(MainWindowDialogsTest, CancellingTheMachineIdDialogReturnsToIdle)
{
    screen.setNextDialog([](Dialog&) { return CancelAnswer; });
    collectWithoutMachineId();
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{NoMachineIdReported});
    EXPECT_EQ(screen.dialogsRun, std::vector<std::type_index>{typeid(MachineId)});
    EXPECT_EQ(calls, 1);
    expectIdle();
}

TEST_F(MainWindowDialogsTest, ACollectRefusedAfterTheMachineIdDialogLeavesTheWindowUsable)
{
    screen.setNextDialog([](Dialog&) { return IDOK; });
    collectWithoutMachineId({IDOK, IDNO});
    EXPECT_EQ(calls, 1);
    expectIdle();
}

} // namespace
