#include "qt/FolderDialogView.h"

#include "WorkingFolder.h"
#include "platform/MessageBox.h"
#include "platform/Path.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

TEST(FolderDialogView, EachSelectionReachesTheLogicAndOKReturnsTheChosenFolder)
{
    testsupport::WorkingFolder folder;
    std::filesystem::create_directory("logs");
    const QString logs = QString::fromStdString((std::filesystem::canonical(folder.path()) / "logs").string());
    std::string windowsLogs;
    ASSERT_TRUE(platform::toWindowsPath(logs.toStdString(), windowsLogs));

    CFolderDialog picker("Select Folder to Zip Files", windowsLogs + "\\", BIF_RETURNONLYFSDIRS | FD_NON_ROOT);
    FolderDialogView view(picker, nullptr);
    auto* ok = qobject_cast<QPushButton*>(view.screen().control(CFolderDialog::OkButton));
    ASSERT_NE(ok, nullptr);
    QTimer::singleShot(0, &view, [&] {
        EXPECT_EQ(view.selectedPath(), logs);
        EXPECT_TRUE(ok->isEnabled());
        view.selectPath(QStringLiteral("/"));
        EXPECT_FALSE(ok->isEnabled());
        view.selectPath(logs);
        EXPECT_TRUE(ok->isEnabled());
        QTest::mouseClick(ok, Qt::LeftButton);
    });
    EXPECT_EQ(view.run(), IDOK);
    EXPECT_EQ(picker.selectedFolder(), windowsLogs);
    EXPECT_EQ(view.windowTitle(), QStringLiteral("Select Folder to Zip Files"));
    EXPECT_FALSE(view.screen().control(CFolderDialog::StatusText)->isVisibleTo(&view));
}

} // namespace
