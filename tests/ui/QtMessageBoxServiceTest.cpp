#include "qt/QtMessageBoxService.h"

#include "WorkingFolder.h"
#include "store/PackageStore.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

namespace {

struct SeenBox {
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    bool onUserInterfaceThread = false;
};

// Waits on the user-interface thread for the next message box, notes what it shows and presses
// one of its buttons.
void pressInNextBox(QMessageBox::StandardButton button, SeenBox& seen, std::atomic<bool>& pressed)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, button, &seen, &pressed] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(widget);
            if (!box || !box->isVisible())
                continue;
            poll->stop();
            poll->deleteLater();
            seen.caption = box->windowTitle();
            seen.text = box->text();
            seen.icon = box->icon();
            seen.buttons = box->standardButtons();
            seen.onUserInterfaceThread = QThread::currentThread() == QCoreApplication::instance()->thread();
            pressed = true;
            box->button(button)->click();
            return;
        }
    });
    poll->start(5);
}

} // namespace

TEST(QtMessageBoxService, ShowsTheCaptionOfTheKindWithTheButtonsAndIconOfTheStyle)
{
    QtMessageBoxService service;
    SeenBox seen;
    std::atomic<bool> pressed = false;
    pressInNextBox(QMessageBox::No, seen, pressed);

    EXPECT_EQ(service.show(MessageKind::Error, "Missing or invalid value in ZIP Password field", MB_YESNO | MB_ICONHAND),
              IDNO);
    EXPECT_EQ(seen.caption, "Error");
    EXPECT_EQ(seen.text, "Missing or invalid value in ZIP Password field");
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
    EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No);

    pressInNextBox(QMessageBox::Ok, seen, pressed);
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
    std::atomic<bool> pressed = false;
    std::atomic<bool> finished = false;
    bool answeredBeforeReturn = false;
    int answer = 0;
    pressInNextBox(QMessageBox::Yes, seen, pressed);

    std::thread worker([&] {
        answer = PackageStore().ReportMessage("Go on?", MB_YESNO | MB_ICONQUESTION, true, true);
        answeredBeforeReturn = pressed;
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
