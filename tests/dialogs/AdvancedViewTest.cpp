#include "ScriptedMessageBoxes.h"
#include "qt/AdvancedView.h"

#include "WorkingFolder.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

TEST(AdvancedView, ClickingASourceShowsItsFieldAndCancelEndsUnsaved)
{
    testsupport::WorkingFolder folder;
    const std::string settings = "[CONFIGURATION]\r\nFTP Path=ftp.example\r\nLocal Directory=C:\\out\\\r\n"
                                 "Computer Name=1\r\nRegistry Field=NULL\r\nUser Defined=NULL\r\n";
    folder.write("Morvane Package/Current_Morvane.ini", settings);
    PackageStore store;
    ScriptedMessageBoxes boxes;
    Advanced dialog(store, &boxes);
    AdvancedView view(dialog, nullptr);
    QWidget* userDefined = view.screen().control(Advanced::UserDefined);
    auto* userSource = qobject_cast<QRadioButton*>(view.screen().control(Advanced::UserDefinedSource));
    auto* cancel = qobject_cast<QPushButton*>(view.screen().control(Advanced::CancelButton));
    ASSERT_NE(userSource, nullptr);
    ASSERT_NE(cancel, nullptr);
    QTimer::singleShot(0, &view, [&] {
        EXPECT_EQ(qobject_cast<QLineEdit*>(view.screen().control(Advanced::FtpServer))->text(),
                  QStringLiteral("ftp.example"));
        EXPECT_FALSE(userDefined->isVisibleTo(&view));
        userSource->click();
        EXPECT_TRUE(userDefined->isVisibleTo(&view));
        EXPECT_EQ(dialog.sourceUserDefined, 1);
        EXPECT_EQ(dialog.modified, 1);
        cancel->click();
    });
    EXPECT_EQ(view.run(), 2);
    EXPECT_EQ(view.windowTitle(), QStringLiteral("Settings"));
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(folder.read("Morvane Package/Current_Morvane.ini"), settings);
}

} // namespace
