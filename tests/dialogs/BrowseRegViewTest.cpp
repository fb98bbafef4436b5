#include "qt/BrowseRegView.h"

#include "WorkingFolder.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

TEST(BrowseRegView, SelectingAKeyShowsItsPathAndItsSubKeys)
{
    testsupport::WorkingFolder folder;
    folder.write("MorvaneRegistry.reg", "Windows Registry Editor Version 5.00\r\n\r\n"
                                        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor]\r\n\r\n"
                                        "[HKEY_LOCAL_MACHINE\\SYSTEM]\r\n");
    PackageStore store;
    BrowseReg browser(store, nullptr, 0);
    BrowseRegView view(browser, nullptr);
    auto* path = qobject_cast<QLineEdit*>(view.screen().control(BrowseReg::PathField));
    auto* ok = qobject_cast<QPushButton*>(view.screen().control(BrowseReg::OkButton));
    ASSERT_NE(path, nullptr);
    ASSERT_NE(ok, nullptr);
    QTimer::singleShot(0, &view, [&] {
        ASSERT_EQ(view.tree()->topLevelItemCount(), 1);
        EXPECT_EQ(view.tree()->topLevelItem(0)->text(0), QStringLiteral("My Computer"));
        EXPECT_EQ(view.tree()->topLevelItem(0)->childCount(), 5);
        QTreeWidgetItem* machine = view.treeItem(3);
        ASSERT_NE(machine, nullptr);
        view.tree()->setCurrentItem(machine);
        EXPECT_EQ(path->text(), QStringLiteral("My Computer\\HKEY_LOCAL_MACHINE\\"));
        ASSERT_EQ(machine->childCount(), 2);
        EXPECT_EQ(machine->child(0)->text(0), QStringLiteral("SOFTWARE"));
        EXPECT_FALSE(machine->child(0)->icon(0).isNull());
        QTest::mouseClick(ok, Qt::LeftButton);
    });
    EXPECT_EQ(view.run(), IDOK);
    EXPECT_EQ(browser.resultPath, "HKEY_LOCAL_MACHINE\\");
    for (int which = BrowseReg::ClosedFolder; which <= BrowseReg::BinaryValue; ++which)
        EXPECT_FALSE(BrowseRegView::image(which).toImage().isNull()) << which;
}

} // namespace
