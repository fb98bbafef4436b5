#include "ScriptedMessageBoxes.h"
#include "qt/AddUpdateLineView.h"

#include "WorkingFolder.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

TEST(AddUpdateLineView, TypingStarDotStarSelectsOneFileAndOKHandsTheRuleBack)
{
    testsupport::WorkingFolder folder;
    PackageStore store;
    ScriptedMessageBoxes boxes;
    AddUpdateLine dialog(store, &boxes);
    dialog.mode = AddUpdateLine::FileRuleMode;
    dialog.adding = 0;
    dialog.ruleIndex = 0;
    dialog.packageName = "Logs";
    dialog.numberOfFiles = "5";
    dialog.folder = "C:\\Logs\\";
    dialog.existingFileRules = {{"5", "0", "C:\\Logs\\", ""}};
    AddUpdateLineView view(dialog, nullptr);
    auto* format = qobject_cast<QLineEdit*>(view.screen().control(AddUpdateLine::FileFormatField));
    auto* number = qobject_cast<QComboBox*>(view.screen().control(AddUpdateLine::NumberOfFilesList));
    auto* ok = qobject_cast<QPushButton*>(view.screen().control(AddUpdateLine::OkButton));
    ASSERT_NE(format, nullptr);
    ASSERT_NE(number, nullptr);
    ASSERT_NE(ok, nullptr);
    QTimer::singleShot(0, &view, [&] {
        EXPECT_EQ(view.size(), QSize(480, 200));
        EXPECT_EQ(number->count(), 24);
        EXPECT_EQ(number->currentText(), QStringLiteral("5"));
        QTest::keyClicks(format, QStringLiteral("*.*"));
        EXPECT_EQ(number->currentText(), QStringLiteral("1"));
        ok->click();
    });
    EXPECT_EQ(view.run(), IDOK);
    EXPECT_EQ(view.windowTitle(), QStringLiteral("Update File"));
    EXPECT_EQ(dialog.fileFormat, "*.*");
    EXPECT_EQ(dialog.numberOfFiles, "1");
    EXPECT_EQ(dialog.folder, "C:\\Logs\\");
    EXPECT_TRUE(boxes.shown().empty());
}

} // namespace
