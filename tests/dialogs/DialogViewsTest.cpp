#include "AddUpdateLine.h"
#include "Advanced.h"
#include "BrowseReg.h"
#include "FolderDialog.h"
#include "MachineId.h"
#include "ScriptedMessageBoxes.h"
#include "qt/AddUpdateLineView.h"
#include "qt/AdvancedView.h"
#include "qt/BrowseRegView.h"
#include "qt/DialogViews.h"
#include "qt/FolderDialogView.h"
#include "qt/MachineIdView.h"

#include "WorkingFolder.h"

#include <QApplication>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace {

TEST(DialogViews, RunEachEditingDialogInItsOwnView)
{
    testsupport::WorkingFolder folder;
    PackageStore store;
    ScriptedMessageBoxes boxes;
    struct Case {
        const char* name;
        std::unique_ptr<Dialog> dialog;
        std::function<bool(QWidget*)> isItsView;
    };
    Case cases[] = {
        {"Settings", std::make_unique<Advanced>(store, &boxes),
         [](QWidget* w) { return qobject_cast<AdvancedView*>(w) != nullptr; }},
        {"rule", std::make_unique<AddUpdateLine>(store, &boxes),
         [](QWidget* w) { return qobject_cast<AddUpdateLineView*>(w) != nullptr; }},
        {"machine ID", std::make_unique<MachineId>(store, &boxes),
         [](QWidget* w) { return qobject_cast<MachineIdView*>(w) != nullptr; }},
        {"registry browser", std::make_unique<BrowseReg>(store, &boxes),
         [](QWidget* w) { return qobject_cast<BrowseRegView*>(w) != nullptr; }},
        {"folder picker", std::make_unique<CFolderDialog>("Pick", "", 0),
         [](QWidget* w) { return qobject_cast<FolderDialogView*>(w) != nullptr; }},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        // Escape ends each of them as Cancel; the machine ID dialog asks first.
        boxes.clear();
        boxes.setNextAnswer(IDYES);
        bool seen = false;
        QTimer::singleShot(0, [&] {
            QWidget* shown = QApplication::activeModalWidget();
            seen = c.isItsView(shown);
            if (auto* view = qobject_cast<QDialog*>(shown))
                view->reject();
        });
        const int result = RunDialogView(*c.dialog, nullptr);
        EXPECT_TRUE(seen);
        EXPECT_EQ(result, c.name == std::string("folder picker") ? CFolderDialog::Cancelled : 2);
    }
}

} // namespace
