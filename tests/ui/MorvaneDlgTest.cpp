#include "AboutDlg.h"
#include "MorvaneDlg.h"
#include "ScriptedMessageBoxes.h"
#include "ScriptedScreen.h"

#include "WorkingFolder.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <typeindex>
#include <vector>

namespace {

constexpr char TransferFlagOff[] =
    " The 'Transfer to FTP Server' flag is off and data will only be saved locally.\n Do you want to continue?";
constexpr char MissingPassword[] = "Missing or invalid value in ZIP Password field";
constexpr char NoPackageSelected[] = "No packages are selected.\nDo you want to continue?";
constexpr char NotAllPackagesSelected[] =
    " Not all packages are selected for file collection.\n Do you want to continue?\n";

constexpr int CancelAnswer = 2;

struct CollectionCall {
    std::string description;
    std::string message;
    std::string problemTime;
    int unattended = 0;
};

// The clock stands at a fixed moment for the life of the object.
class FixedClock {
public:
    explicit FixedClock(platform::LocalTime time)
        : m_previous(platform::setClockHandler([this] { return m_time; })), m_time(time)
    {
    }
    ~FixedClock() { platform::setClockHandler(m_previous); }
    void set(platform::LocalTime time) { m_time = time; }

private:
    platform::ClockHandler m_previous;
    platform::LocalTime m_time;
};

std::string settingsFile(const std::string& configuration, const std::vector<std::string>& selected)
{
    std::string text = "[CONFIGURATION]\r\n" + configuration + "[SELECT PACKAGE]\r\n";
    for (std::size_t i = 0; i < selected.size(); ++i)
        text += std::to_string(i) + ")Name=" + selected[i] + "\r\n";
    return text;
}

// A store with the default packages A and B, both selected, FTP on, no password; the window is
// made at 2024-03-05 14:30:20 and started on a scripted screen.
class MorvaneDlgTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder.write("Morvane Package/Morvane.ini",
                     settingsFile("Perform FTP=1\r\nFTP Path=ftp.example\\drop\r\n", {"A", "B"}));
        folder.write("Morvane Package/package_A.ini", "[FILES]\r\n");
        folder.write("Morvane Package/package_B.ini", "[FILES]\r\n");
        window.attach(&screen);
    }

    void start()
    {
        window.OnInitDialog();
        screen.frameLog.clear();
    }

    void writeCurrentSettings(const std::string& configuration, const std::vector<std::string>& selected)
    {
        folder.write("Morvane Package/Current_Morvane.ini", settingsFile(configuration, selected));
    }

    std::string log() const { return folder.read("MorvaneLog.txt"); }

    testsupport::WorkingFolder folder;
    FixedClock clock{{2024, 3, 5, 14, 30, 20}};
    PackageStore store;
    ScriptedMessageBoxes boxes;
    ScriptedScreen screen;
    std::vector<CollectionCall> calls;
    MorvaneDlg window{store, &boxes,
                      [this](const std::string& d, const std::string& m, const std::string& t, int u) {
                          calls.push_back({d, m, t, u});
                          return 100u;
                      }};
};

const int CommandButtons[] = {1000, 1001, 1061, 1031, 1066, 1067, 1077, 1035, 1036, 1037, 1064, 1063};

} // namespace

TEST_F(MorvaneDlgTest, StartsCollapsedWithItsMenuToolTipsAndTitleAfterPreparingTheStore)
{
    folder.write("Morvane Package/Current_Morvane.ini",
                 settingsFile("Perform FTP=1\r\n", {"A", "Temporary", "B"}));
    folder.write("Morvane Package/Current_Package_A.ini", "[FILES]\r\n");
    folder.write("Morvane Package/Current_Package_Temporary.ini", "[FILES]\r\n");
    window.OnInitDialog();

    EXPECT_EQ(screen.menuCommands,
              (std::vector<std::pair<int, std::string>>{{0x10, "&About Morvane"}, {0x102, "Morvane User &Guide"}}));
    EXPECT_FALSE(folder.exists("Morvane Package/Current_Package_Temporary.ini"));
    std::string selection;
    int count = 0;
    store.ReadSelection(store.CurrentSettingsPath(), selection, count);
    EXPECT_EQ(selection, "A*B*");
    EXPECT_EQ(window.settingsPath, ".\\Morvane Package\\Current_Morvane.ini");

    EXPECT_EQ(screen.control(1000).toolTip, "Perform file collection");
    EXPECT_EQ(screen.control(1001).toolTip, "Open the Options dialog");
    EXPECT_EQ(screen.control(1013).toolTip, "Reset Config and packages");
    EXPECT_EQ(screen.control(1066).toolTip, "Restore package to default contents");
    EXPECT_EQ(screen.control(1063).toolTip, "Select packages for file collection");
    EXPECT_EQ(screen.control(1064).toolTip, "Open the Settings dialog");
    EXPECT_EQ(screen.control(1077).toolTip, "Restore the list to default contents");
    EXPECT_EQ(screen.control(1001).text, "&Options >>");
    EXPECT_EQ(screen.control(1045).value, 0);
    EXPECT_EQ(screen.control(1044).text, "");
    EXPECT_EQ(screen.control(1048).text, "");
    EXPECT_EQ(screen.control(1016).moment, (DateTime{2024, 3, 5, 14, 30, 20}));
    EXPECT_EQ(window.optionsCollapsed, 1);
    EXPECT_EQ(screen.frameLog,
              (std::vector<std::string>{"visible 0", "resize 508x220", "centre", "visible 1", "title Morvane"}));
}

TEST_F(MorvaneDlgTest, FirstStartMakesTheCurrentCopies)
{
    start();
    EXPECT_TRUE(folder.exists("Morvane Package/Current_Morvane.ini"));
    EXPECT_TRUE(platform::pathExists(store.CurrentPackagePath("A")));
    EXPECT_TRUE(platform::pathExists(store.CurrentPackagePath("B")));
}

TEST_F(MorvaneDlgTest, OptionsExpandsAndCollapsesTheWindowCentredEachTime)
{
    start();
    window.ToggleOptions();
    EXPECT_EQ(screen.frameLog, (std::vector<std::string>{"visible 0", "resize 508x550", "centre", "visible 1"}));
    EXPECT_EQ(screen.control(1001).text, "&Options <<");
    EXPECT_EQ(screen.control(1001).toolTip, "Close the Options dialog");
    EXPECT_EQ(window.optionsCollapsed, 0);

    window.ToggleOptions();
    EXPECT_EQ(screen.size, std::make_pair(508, 220));
    EXPECT_EQ(screen.control(1001).text, "&Options >>");
    EXPECT_EQ(screen.control(1001).toolTip, "Open the Options dialog");
}

TEST_F(MorvaneDlgTest, EnableCommandsCoversTheTwelveButtonsButNotTheHiddenReset)
{
    start();
    screen.enableControl(1013, true);
    window.EnableCommands(false);
    for (int button : CommandButtons) {
        SCOPED_TRACE(button);
        EXPECT_FALSE(screen.control(button).enabled);
    }
    EXPECT_TRUE(screen.control(1013).enabled);
    window.EnableCommands(true);
    for (int button : CommandButtons)
        EXPECT_TRUE(screen.control(button).enabled);
}

TEST_F(MorvaneDlgTest, AsksAboutTheTransferOnlyWhenPerformFtpIsExactlyZero)
{
    struct Case {
        const char* configuration;
        bool asked;
    };
    const Case cases[] = {
        {"Perform FTP=0\r\n", true},  {"Perform FTP= 0 \r\n", true}, {"Perform FTP=1\r\n", false},
        {"Perform FTP=\r\n", false},  {"", false},                  {"Perform FTP=00\r\n", false},
    };
    start();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.configuration);
        writeCurrentSettings(c.configuration, {"A", "B"});
        boxes.clear();
        calls.clear();
        if (c.asked)
            boxes.setNextAnswer(IDYES);
        window.OnCollect();
        if (c.asked) {
            ASSERT_EQ(boxes.shown().size(), 1u);
            EXPECT_EQ(boxes.shown()[0].text, TransferFlagOff);
            EXPECT_EQ(boxes.shown()[0].caption, "Confirmation");
            EXPECT_EQ(boxes.shown()[0].style, MB_YESNO | MB_ICONEXCLAMATION);
        } else {
            EXPECT_TRUE(boxes.shown().empty());
        }
        EXPECT_EQ(calls.size(), 1u);
    }
}

TEST_F(MorvaneDlgTest, AsksAboutABlankPasswordInAnErrorBoxWithYesAndNo)
{
    struct Case {
        const char* configuration;
        bool asked;
    };
    const Case cases[] = {
        {"Password Enable=1\r\nPassword Value=\r\n", true},
        {"Password Enable=1\r\n", true},
        {"Password Enable=1\r\nPassword Value=secret\r\n", false},
        {"Password Enable=0\r\nPassword Value=\r\n", false},
    };
    start();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.configuration);
        writeCurrentSettings(std::string("Perform FTP=1\r\n") + c.configuration, {"A", "B"});
        boxes.clear();
        if (c.asked)
            boxes.setNextAnswer(IDYES);
        window.OnCollect();
        if (c.asked) {
            ASSERT_EQ(boxes.shown().size(), 1u);
            EXPECT_EQ(boxes.shown()[0].text, MissingPassword);
            EXPECT_EQ(boxes.shown()[0].caption, "Error");
            EXPECT_EQ(boxes.shown()[0].style, MB_YESNO | MB_ICONHAND);
        } else {
            EXPECT_TRUE(boxes.shown().empty());
        }
    }
}

TEST_F(MorvaneDlgTest, APasswordOfBlanksOnlyCountsAsEmpty)
{
    start();
    writeCurrentSettings("Perform FTP=1\r\nPassword Enable=1\r\nPassword Value=   \t  \r\n", {"A", "B"});
    boxes.setNextAnswer(IDNO);
    window.OnCollect();
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{MissingPassword});
    EXPECT_TRUE(calls.empty());
}

TEST_F(MorvaneDlgTest, AsksAboutTheSelectionFromTheCounts)
{
    folder.write("Morvane Package/package_C.ini", "[FILES]\r\n");
    struct Case {
        std::vector<std::string> selected;
        std::optional<std::string> question;
    };
    const Case cases[] = {
        {{}, std::string(NoPackageSelected)},
        {{"A"}, std::string(NotAllPackagesSelected)},
        {{"A", "B"}, std::string(NotAllPackagesSelected)},
        {{"A", "B", "C"}, std::nullopt},
    };
    start();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.selected.size());
        writeCurrentSettings("Perform FTP=1\r\n", c.selected);
        boxes.clear();
        if (c.question)
            boxes.setNextAnswer(IDYES);
        window.OnCollect();
        if (c.question) {
            ASSERT_EQ(boxes.shown().size(), 1u);
            EXPECT_EQ(boxes.shown()[0].text, *c.question);
            EXPECT_EQ(boxes.shown()[0].caption, "Confirmation");
            EXPECT_EQ(boxes.shown()[0].style, MB_YESNO | MB_ICONEXCLAMATION);
        } else {
            EXPECT_TRUE(boxes.shown().empty());
        }
    }
}

TEST_F(MorvaneDlgTest, ConfirmationsComeInOrderAndTheOpenedDialogsSilenceThem)
{
    start();
    writeCurrentSettings("Perform FTP=0\r\nPassword Enable=1\r\n", {});
    boxes.setNextAnswer(IDYES);
    boxes.setNextAnswer(IDYES);
    boxes.setNextAnswer(IDYES);
    window.OnCollect();
    EXPECT_EQ(boxes.texts(), (std::vector<std::string>{TransferFlagOff, MissingPassword, NoPackageSelected}));

    boxes.clear();
    window.settingsOpened = 1;
    boxes.setNextAnswer(IDYES);
    window.OnCollect();
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{NoPackageSelected});

    boxes.clear();
    window.selectionOpened = 1;
    window.OnCollect();
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(calls.size(), 3u);
}

TEST_F(MorvaneDlgTest, AnswerOtherThanYesStopsCollectWithTheWindowUsable)
{
    const int answers[] = {IDNO, -1, IDOK};
    start();
    writeCurrentSettings("Perform FTP=0\r\n", {"A", "B"});
    for (int answer : answers) {
        SCOPED_TRACE(answer);
        screen.frameLog.clear();
        boxes.setNextAnswer(answer);
        window.OnCollect();
        EXPECT_TRUE(calls.empty());
        EXPECT_TRUE(screen.closeEnabled);
        EXPECT_TRUE(window.closeEnabled);
        EXPECT_EQ(screen.frameLog, (std::vector<std::string>{"close 0", "close 1"}));
        for (int button : CommandButtons)
            EXPECT_TRUE(screen.control(button).enabled);
        EXPECT_EQ(screen.busyDepth, 0);
    }
}

TEST_F(MorvaneDlgTest, CollectPassesTheRequestAndDisablesTheWindow)
{
    start();
    writeCurrentSettings("Perform FTP=1\r\n", {"A", "B"});
    screen.setControlText(1048, "The printer\r\nstopped");
    screen.setControlText(1044, "old status");
    screen.setControlValue(1045, 40);
    window.problemDate = {2023, 1, 9, 0, 0, 0};
    window.problemTime = {2024, 3, 5, 7, 5, 0};
    window.OnCollect();

    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].description, "The printer\r\nstopped");
    EXPECT_EQ(calls[0].message, "");
    EXPECT_EQ(calls[0].problemTime, "2023_01_09_07_05");
    EXPECT_EQ(calls[0].unattended, 0);
    EXPECT_EQ(window.silentMode, 0);
    EXPECT_EQ(screen.control(1044).text, "");
    EXPECT_EQ(screen.control(1045).value, 0);
    for (int button : CommandButtons)
        EXPECT_FALSE(screen.control(button).enabled);
    EXPECT_FALSE(screen.closeEnabled);
    EXPECT_EQ(screen.busyDepth, 0);
}

TEST_F(MorvaneDlgTest, EscapeAndTheCloseBoxAreRefusedWhileACollectionRuns)
{
    start();
    writeCurrentSettings("Perform FTP=1\r\n", {"A", "B"});
    window.OnCollect();
    EXPECT_FALSE(window.OnCancel());
    EXPECT_FALSE(screen.endResult.has_value());

    LibraryMessage noPackages;
    noPackages.eventCode = 3;
    noPackages.messageText = "No packages";
    window.OnLibraryMessage(noPackages);
    EXPECT_TRUE(window.OnCancel());
    EXPECT_EQ(screen.endResult, CancelAnswer);
}

TEST_F(MorvaneDlgTest, SilentStartPassesTheSilentDescriptionAndTheCurrentStampWithoutAScreen)
{
    MorvaneDlg silent(store, nullptr, [this](const std::string& d, const std::string& m, const std::string& t, int u) {
        calls.push_back({d, m, t, u});
        return 100u;
    });
    clock.set({2024, 11, 2, 9, 7, 3});
    silent.StartCollection(true);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].description, "Files collected in silent mode");
    EXPECT_EQ(calls[0].message, "");
    EXPECT_EQ(calls[0].problemTime, "2024_11_02_09_07");
    EXPECT_EQ(calls[0].unattended, 1);
    EXPECT_EQ(silent.silentMode, 1);
}

TEST_F(MorvaneDlgTest, ChecksTheDateAndTimeAgainstNow)
{
    struct Case {
        const char* name;
        DateTime date;
        DateTime time;
        bool dateChanged;
        std::vector<std::string> messages;
        DateTime shownDate;
        DateTime shownTime;
    };
    const DateTime previous{2024, 3, 1, 0, 0, 0};
    const DateTime early{2024, 3, 5, 10, 15, 40};
    const std::string date = "Missing or invalid value in the Date field.";
    const std::string time = "Missing or invalid value in the Time field.";
    // Now is 2024-03-05 14:30.
    const Case cases[] = {
        {"an earlier date", {2024, 2, 28, 0, 0, 0}, {2024, 3, 5, 23, 59, 0}, true, {}, {2024, 2, 28, 0, 0, 0}, {2024, 3, 5, 23, 59, 0}},
        {"a later date", {2024, 3, 6, 0, 0, 0}, early, true, {date}, previous, early},
        {"a later year", {2025, 1, 1, 0, 0, 0}, early, true, {date}, previous, early},
        {"today, a later hour", {2024, 3, 5, 0, 0, 0}, {2024, 3, 5, 16, 10, 40}, true, {time}, {2024, 3, 5, 0, 0, 0}, {2024, 3, 5, 14, 10, 40}},
        {"a later hour", {2024, 3, 5, 0, 0, 0}, {2024, 3, 5, 16, 10, 40}, false, {time}, {2024, 3, 5, 0, 0, 0}, {2024, 3, 5, 14, 10, 40}},
        {"a later minute", {2024, 3, 5, 0, 0, 0}, {2024, 3, 5, 14, 45, 40}, false, {time}, {2024, 3, 5, 0, 0, 0}, {2024, 3, 5, 14, 30, 40}},
        {"a later hour and minute, corrected once", {2024, 3, 5, 0, 0, 0}, {2024, 3, 5, 15, 50, 0}, false, {time}, {2024, 3, 5, 0, 0, 0}, {2024, 3, 5, 14, 50, 0}},
        {"this very minute", {2024, 3, 5, 0, 0, 0}, {2024, 3, 5, 14, 30, 59}, false, {}, {2024, 3, 5, 0, 0, 0}, {2024, 3, 5, 14, 30, 59}},
        {"an earlier hour", {2024, 3, 5, 0, 0, 0}, {2024, 3, 5, 13, 59, 0}, false, {}, {2024, 3, 5, 0, 0, 0}, {2024, 3, 5, 13, 59, 0}},
    };
    start();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        window.problemDate = previous;
        boxes.clear();
        screen.setControlDateTime(1016, c.date);
        screen.setControlDateTime(1017, c.time);
        if (c.dateChanged)
            window.OnDateChanged();
        else
            window.OnTimeChanged();
        EXPECT_EQ(boxes.texts(), c.messages);
        for (const ShownMessageBox& box : boxes.shown()) {
            EXPECT_EQ(box.caption, "Error");
            EXPECT_EQ(box.style, MB_ICONHAND);
        }
        EXPECT_EQ(screen.control(1016).moment, c.shownDate);
        EXPECT_EQ(screen.control(1017).moment, c.shownTime);
        EXPECT_EQ(window.problemDate, c.shownDate);
        EXPECT_EQ(window.problemTime, c.shownTime);
    }
}

TEST_F(MorvaneDlgTest, TheStatusLineKeepsATextThatSharesItsFirstSevenCharacters)
{
    struct Report {
        const char* status;
        int updateStatus;
        const char* shown;
    };
    const Report reports[] = {
        {"Running...", 1, "Running..."},
        {"Running... folder 2", 1, "Running..."},
        {"Zip Files", 1, "Zip Files"},
        {"Zip Fil", 1, "Zip Files"},
        {"Zip", 1, "Zip"},
        {"Sending\n to FTP", 0, "Zip"},
        {"Sending\n to FTP", 1, "Sending to FTP"},
    };
    start();
    int progress = 0;
    for (const Report& report : reports) {
        SCOPED_TRACE(report.status);
        LibraryMessage record;
        record.statusText = report.status;
        record.updateStatus = report.updateStatus;
        record.progress = progress += 10;
        record.eventCode = -1;
        window.OnLibraryMessage(record);
        EXPECT_EQ(screen.control(1044).text, report.shown);
        EXPECT_EQ(screen.control(1045).value, progress);
    }
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_FALSE(screen.endResult.has_value());
    EXPECT_EQ(screen.busyDepth, 0);
}

TEST_F(MorvaneDlgTest, TheEndOfARunLogsWhatWasDoneAndClosesTheWindow)
{
    struct Case {
        const char* configuration;
        int ftpSent;
        std::string entry;
    };
    const Case cases[] = {
        {"Perform FTP=0\r\nFTP Path=ftp.example\\drop\r\n", 1, "Performed files collection for packages without FTP"},
        {"FTP Path=ftp.example\\drop\r\n", 0, "Performed files collection for packages without FTP"},
        {"Perform FTP=1\r\nFTP Path=ftp.example\\drop\r\nFTP Server=old.example\r\n", 1,
         "Performed files collection for packages and sent to FTP server ftp.example\\drop"},
        {"Perform FTP=1\r\nFTP Path=\r\nFTP Server=old.example\r\n", 1,
         "Performed files collection for packages and sent to FTP server old.example"},
        {"Perform FTP=1\r\nFTP Path=ftp.example\\drop\r\n", 0, ""},
    };
    start();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.configuration);
        writeCurrentSettings(c.configuration, {"A", "B"});
        folder.write("MorvaneLog.txt", "");
        screen.endResult.reset();
        window.EnableCommands(false);
        LibraryMessage completed;
        completed.statusText = "Completed.";
        completed.updateStatus = 1;
        completed.progress = 90;
        completed.eventCode = 0;
        completed.ftpSent = c.ftpSent;
        window.OnLibraryMessage(completed);

        EXPECT_EQ(screen.control(1045).value, 100);
        const std::string line = log();
        ASSERT_GE(line.size(), c.entry.size() + 7);
        EXPECT_EQ(line.substr(line.size() - c.entry.size() - 7), "***  " + c.entry + "\r\n");
        EXPECT_EQ(std::count(line.begin(), line.end(), '\n'), 1);
        EXPECT_EQ(screen.endResult, IDOK);
        for (int button : CommandButtons)
            EXPECT_TRUE(screen.control(button).enabled);
    }
}

TEST_F(MorvaneDlgTest, AFailedStartShowsTheLibrarysTextAndReturnsToIdle)
{
    for (int code : {1, 2, 3}) {
        SCOPED_TRACE(code);
        start();
        writeCurrentSettings("Perform FTP=1\r\n", {"A", "B"});
        window.OnCollect();
        boxes.clear();
        LibraryMessage failed;
        failed.statusText = "Error";
        failed.messageText = "The reason " + std::to_string(code);
        failed.progress = 5;
        failed.eventCode = code;
        if (code == 2)
            screen.setNextDialog([](Dialog&) { return CancelAnswer; });
        window.OnLibraryMessage(failed);

        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.shown()[0].caption, "Error");
        EXPECT_EQ(boxes.shown()[0].text, "The reason " + std::to_string(code));
        EXPECT_EQ(boxes.shown()[0].style, MB_ICONHAND);
        EXPECT_EQ(screen.control(1045).value, 0);
        EXPECT_TRUE(screen.closeEnabled);
        for (int button : CommandButtons)
            EXPECT_TRUE(screen.control(button).enabled);
        EXPECT_FALSE(screen.endResult.has_value());
    }
}

TEST_F(MorvaneDlgTest, ShowMessageShowsNothingForAnEmptyTextAnUnknownKindOrShowOff)
{
    start();
    EXPECT_EQ(window.ShowMessage("", MB_ICONHAND, 0, 1), -1);
    EXPECT_EQ(window.ShowMessage("text", MB_ICONHAND, 3, 1), -1);
    EXPECT_EQ(window.ShowMessage("text", MB_ICONHAND, -1, 1), -1);
    EXPECT_EQ(window.ShowMessage("text", MB_ICONHAND, 0, 0), -1);
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(window.ShowMessage("note", MB_ICONINFORMATION, 2, 1), IDOK);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].caption, "Information");
}

TEST_F(MorvaneDlgTest, TheWindowMenuOpensAboutAndTheUserGuide)
{
    start();
    window.OnSysCommand(0x102);
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"Morvane help file does not exist"});
    EXPECT_EQ(boxes.shown()[0].caption, "Error");

    ScriptedScreen aboutScreen;
    screen.setNextDialog([&](Dialog& dialog) {
        auto& about = dynamic_cast<AboutDlg&>(dialog);
        about.attach(&aboutScreen);
        about.OnInitDialog();
        return IDOK;
    });
    window.OnSysCommand(0x10);
    ASSERT_EQ(screen.dialogsRun.size(), 1u);
    EXPECT_EQ(screen.dialogsRun[0], std::type_index(typeid(AboutDlg)));
    EXPECT_EQ(aboutScreen.title, "About Morvane");
    EXPECT_EQ(aboutScreen.control(1025).text, store.VersionText());
    EXPECT_FALSE(store.VersionText().empty());

    // Other commands are left to the window system.
    window.OnSysCommand(0xF060);
    EXPECT_EQ(screen.dialogsRun.size(), 1u);
}
