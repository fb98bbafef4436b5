#include "ScriptedMessageBoxes.h"
#include "qt/MachineIdView.h"

#include "WorkingFolder.h"

#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

TEST(MachineIdView, OKWithoutASourceIsRefusedAndCancelAsksBeforeItEnds)
{
    testsupport::WorkingFolder folder;
    PackageStore store;
    ScriptedMessageBoxes boxes;
    MachineId dialog(store, &boxes);
    MachineIdView view(dialog, nullptr);
    auto* ok = qobject_cast<QPushButton*>(view.screen().control(MachineId::OkButton));
    auto* cancel = qobject_cast<QPushButton*>(view.screen().control(MachineId::CancelButton));
    ASSERT_NE(ok, nullptr);
    ASSERT_NE(cancel, nullptr);
    QTimer::singleShot(0, &view, [&] {
        ok->click();
        EXPECT_EQ(boxes.texts(), std::vector<std::string>{"A unique machine ID is required."});
        EXPECT_TRUE(view.isVisible());
        boxes.setNextAnswer(IDYES);
        cancel->click();
    });
    EXPECT_EQ(view.run(), 2);
    EXPECT_EQ(view.windowTitle(), QStringLiteral("Unique Machine ID"));
    ASSERT_EQ(boxes.texts().size(), 2u);
    EXPECT_EQ(boxes.shown()[1].caption, "Confirmation");
}

} // namespace
