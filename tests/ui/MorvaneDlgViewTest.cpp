#include "MessageBoxPresser.h"
#include "qt/MorvaneDlgView.h"
#include "qt/QtMessageBoxService.h"

#include "TestPause.h"
#include "WorkingFolder.h"
#include "platform/WindowDirectory.h"

#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <thread>
#include <vector>

namespace {

constexpr int CancelAnswer = 2;

// One package "Logs" gathering the newest two .log files of a fixture folder; everything is
// selected, FTP is off, and the machine ID is the computer name.
class MorvaneDlgViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder.write("Morvane Package/Morvane.ini",
                     "[CONFIGURATION]\r\nLocal Directory=.\\BugReports\\\r\nPerform FTP=0\r\nPassword Enable=0\r\n"
                     "Computer Name=1\r\nRegistry Field=NULL\r\nUser Defined=NULL\r\n"
                     "[SELECT PACKAGE]\r\n0)Name=Logs\r\n");
        folder.write("Morvane Package/package_Logs.ini",
                     "[FILES]\r\n0)Filenum=2\r\n0)Directory=.\\fixture\\\r\n0)FileFormat=*.log\r\n0)Recursive=0\r\n");
        folder.write("fixture/first.log", "first\n");
        folder.write("fixture/second.log", "second\n");
        folder.write("fixture/notes.txt", "not gathered\n");
    }

    QPushButton* button(MorvaneDlgView& view, int id) { return qobject_cast<QPushButton*>(view.screen().control(id)); }

    // Runs the window modally while the script acts on it; returns the window's result.
    int run(MorvaneDlgView& view, std::function<void()> script)
    {
        QTimer::singleShot(0, &view, std::move(script));
        return view.exec();
    }

    static void post(int progress, const char* status, int eventCode, const char* message = "")
    {
        auto record = std::make_unique<LibraryMessage>();
        record->progress = progress;
        record->statusText = status;
        record->messageText = message;
        record->eventCode = eventCode;
        record->updateStatus = 1;
        platform::postMessage(platform::findWindow("Morvane"), platform::registerWindowMessage(LibraryMessageName),
                              LibraryMessageParam, std::move(record));
    }

    testsupport::WorkingFolder folder;
    testsupport::TestPause pauses;
    PackageStore store;
    QtMessageBoxService boxes;
    std::vector<std::string> requests;
    MorvaneDlg::CollectionEntry recorder = [this](const std::string&, const std::string&, const std::string& time,
                                                  int) {
        requests.push_back(time);
        return 100u;
    };
};

} // namespace

TEST_F(MorvaneDlgViewTest, OpensCollapsedAsMorvaneGrowsWithOptionsAndEndsOnTheCompletedReport)
{
    MorvaneDlg window(store, &boxes, recorder);
    MorvaneDlgView view(window);
    auto* progress = qobject_cast<QProgressBar*>(view.screen().control(MorvaneDlg::ProgressBar));
    QSignalSpy progressSteps(progress, &QProgressBar::valueChanged);
    QSize collapsed;
    QSize expanded;
    QString title;
    QString expandedCaption;
    bool registered = false;
    QString statusAfterZip;

    const int result = run(view, [&] {
        collapsed = view.size();
        title = view.windowTitle();
        registered = platform::findWindow("Morvane") != 0;
        QTest::mouseClick(button(view, MorvaneDlg::OptionsButton), Qt::LeftButton);
        expanded = view.size();
        expandedCaption = button(view, MorvaneDlg::OptionsButton)->text();

        auto* status = qobject_cast<QLabel*>(view.screen().control(MorvaneDlg::StatusLine));
        std::thread worker([] {
            post(20, "Running...", -1);
            post(40, "Running...", -1);
            post(60, "Zip Files", -1);
        });
        worker.join();
        QTRY_COMPARE(progress->value(), 60);
        statusAfterZip = status->text();
        std::thread last([] { post(95, "Completed.", 0); });
        last.join();
    });

    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(collapsed, QSize(508, 220));
    EXPECT_EQ(expanded, QSize(508, 550));
    EXPECT_EQ(expandedCaption, "&Options <<");
    EXPECT_EQ(title, "Morvane");
    EXPECT_TRUE(registered);
    EXPECT_EQ(platform::findWindow("Morvane"), 0u);
    EXPECT_EQ(statusAfterZip, "Zip Files");
    std::vector<int> steps;
    for (const QList<QVariant>& step : progressSteps)
        steps.push_back(step.at(0).toInt());
    EXPECT_EQ(steps, (std::vector<int>{0, 20, 40, 60, 95, 100}));
    EXPECT_FALSE(view.isVisible());
}

TEST_F(MorvaneDlgViewTest, TheWindowMenuHoldsAboutAndTheUserGuide)
{
    MorvaneDlg window(store, &boxes, recorder);
    MorvaneDlgView view(window);
    QStringList items;
    run(view, [&] {
        for (QAction* action : view.windowMenu()->actions())
            if (!action->isSeparator())
                items << action->text();
        view.close();
    });
    EXPECT_EQ(items, (QStringList{"&About Morvane", "Morvane User &Guide"}));
}

TEST_F(MorvaneDlgViewTest, WhileCollectingNeitherTheCloseBoxNorEscapeEndsTheWindow)
{
    folder.write("Morvane Package/Current_Morvane.ini",
                 "[CONFIGURATION]\r\nPerform FTP=1\r\n[SELECT PACKAGE]\r\n0)Name=Logs\r\n");
    MorvaneDlg window(store, &boxes, recorder);
    MorvaneDlgView view(window);
    bool visibleAfterClose = false;
    bool visibleAfterEscape = false;
    bool collectEnabledWhileRunning = true;
    SeenBox failure;

    const int result = run(view, [&] {
        QTest::mouseClick(button(view, MorvaneDlg::CollectButton), Qt::LeftButton);
        collectEnabledWhileRunning = button(view, MorvaneDlg::CollectButton)->isEnabled();
        view.close();
        visibleAfterClose = view.isVisible();
        QTest::keyClick(&view, Qt::Key_Escape);
        visibleAfterEscape = view.isVisible();

        pressInNextBox(QMessageBox::Ok, failure);
        std::thread worker([] { post(20, "No packages are available.", 3, "No packages are available."); });
        worker.join();
        QTRY_VERIFY(failure.pressed);
        QTRY_VERIFY(button(view, MorvaneDlg::CollectButton)->isEnabled());
        QTest::keyClick(&view, Qt::Key_Escape);
    });

    EXPECT_EQ(requests.size(), 1u);
    EXPECT_FALSE(collectEnabledWhileRunning);
    EXPECT_TRUE(visibleAfterClose);
    EXPECT_TRUE(visibleAfterEscape);
    EXPECT_EQ(failure.caption, "Error");
    EXPECT_EQ(failure.text, "No packages are available.");
    EXPECT_EQ(result, CancelAnswer);
}

TEST_F(MorvaneDlgViewTest, CollectRunsTheLibraryToTheArchiveAndTheWindowCloses)
{
    MorvaneDlg window(store, &boxes);
    MorvaneDlgView view(window);
    auto* progress = qobject_cast<QProgressBar*>(view.screen().control(MorvaneDlg::ProgressBar));
    SeenBox transferOff;

    const int result = run(view, [&] {
        pressInNextBox(QMessageBox::Yes, transferOff);
        QTest::mouseClick(button(view, MorvaneDlg::CollectButton), Qt::LeftButton);
    });

    EXPECT_EQ(result, IDOK);
    EXPECT_TRUE(transferOff.pressed);
    EXPECT_EQ(transferOff.caption, "Confirmation");
    EXPECT_EQ(progress->value(), 100);
    std::vector<std::filesystem::path> archives;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path() / "BugReports", error))
        if (entry.path().extension() == ".zip")
            archives.push_back(entry.path());
    EXPECT_EQ(archives.size(), 1u);
}
