#include "MessageBoxPresser.h"
#include "qt/QtMessageBoxService.h"

#include "WorkingFolder.h"
#include "store/PackageStore.h"

#include <QTest>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

TEST(QtMessageBoxService, ShowsTheCaptionOfTheKindWithTheButtonsAndIconOfTheStyle)
{
    QtMessageBoxService service;
    SeenBox seen;
    pressInNextBox(QMessageBox::No, seen);

    EXPECT_EQ(service.show(MessageKind::Error, "Missing or invalid value in ZIP Password field", MB_YESNO | MB_ICONHAND),
              IDNO);
    EXPECT_EQ(seen.caption, "Error");
    EXPECT_EQ(seen.text, "Missing or invalid value in ZIP Password field");
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
    EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No);

    pressInNextBox(QMessageBox::Ok, seen);
    EXPECT_EQ(service.show(MessageKind::Information, "Done", MB_OK | MB_ICONINFORMATION), IDOK);
    EXPECT_EQ(seen.caption, "Information");
    EXPECT_EQ(seen.icon, QMessageBox::Information);
    EXPECT_EQ(seen.buttons, QMessageBox::Ok);
}

TEST(QtMessageBoxService, ALibraryWorkerWaitsForTheAnswerGivenOnTheUserInterfaceThread)
{
    testsupport::WorkingFolder folder;
    QtMessageBoxService service;
    LibraryMessageBoxHook hook(service);
    SeenBox seen;
    std::atomic<bool> finished = false;
    bool answeredBeforeReturn = false;
    int answer = 0;
    pressInNextBox(QMessageBox::Yes, seen);

    std::thread worker([&] {
        answer = PackageStore().ReportMessage("Go on?", MB_YESNO | MB_ICONQUESTION, true, true);
        answeredBeforeReturn = seen.pressed;
        finished = true;
    });
    for (int waited = 0; !finished && waited < 10000; waited += 10)
        QTest::qWait(10);
    worker.join();

    EXPECT_EQ(answer, IDYES);
    EXPECT_TRUE(answeredBeforeReturn);
    EXPECT_TRUE(seen.onUserInterfaceThread);
    EXPECT_EQ(seen.caption, "Confirmation");
    EXPECT_EQ(seen.text, "Go on?");
    EXPECT_EQ(seen.icon, QMessageBox::Question);
}
