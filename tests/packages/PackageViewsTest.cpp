#include "ScriptedMessageBoxes.h"
#include "qt/ListPackageView.h"
#include "qt/MorvaneDlgView.h"
#include "qt/NewPackageView.h"

#include "WorkingFolder.h"
#include "platform/FileSystem.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

namespace {

constexpr int CancelAnswer = 2;

// Keeps the check-box notifications that reach the watched dialog.
class NotificationWatcher : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == ListCtrlPackageCheckboxEvent::registeredType()) {
            const auto* notification = static_cast<ListCtrlPackageCheckboxEvent*>(event);
            received.emplace_back(notification->row(), notification->column());
        }
        return QObject::eventFilter(watched, event);
    }

    std::vector<std::pair<int, int>> received;
};

class PackageViewsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder.write("Morvane Package/Morvane.ini", "[CONFIGURATION]\r\nPerform FTP=1\r\n\r\n[SELECT PACKAGE]\r\n");
        folder.write("Morvane Package/package_Logs.ini",
                     "[FILES]\r\n0)Filenum=3\r\n0)Directory=C:\\var\\log\\\r\n0)FileFormat=*.log\r\n0)Recursive=1\r\n"
                     "[REGISTRY]\r\n0)HKEY=HKEY_LOCAL_MACHINE\\SOFTWARE\r\n1)HKEY=HKEY_USERS\r\n");
        folder.write("Morvane Package/package_Net.ini", "");
    }

    static QPoint boxCentre(const ListCtrlPackageView& list, int row)
    {
        const QRect cell = list.cellRect(row, 0);
        const CellRect box = ListCtrlPackage::CheckboxRect(
            {cell.left(), cell.top(), cell.left() + cell.width(), cell.top() + cell.height()}, false);
        return QPoint((box.left + box.right) / 2, (box.top + box.bottom) / 2);
    }

    static QPushButton* standardButton(QWidget& dialog, QDialogButtonBox::StandardButton which)
    {
        return dialog.findChild<QDialogButtonBox*>()->button(which);
    }

    testsupport::WorkingFolder folder;
    PackageStore store;
    ScriptedMessageBoxes boxes;
};

} // namespace

TEST_F(PackageViewsTest, ClickingABoxInThePackageDialogTogglesItNotifiesTheDialogAndOkSavesTheSelection)
{
    folder.write("Morvane Package/Current_Morvane.ini", "[CONFIGURATION]\r\n\r\n[SELECT PACKAGE]\r\n0)Name=Logs\r\n");
    folder.write("Morvane Package/Current_Package_Logs.ini", "");
    folder.write("Morvane Package/Current_Package_Net.ini", "");
    ListPackage logic(store, &boxes);
    ListPackageView view(logic, nullptr);
    NotificationWatcher watcher;
    view.installEventFilter(&watcher);
    std::vector<int> checksAfterClick;
    boxes.setNextAnswer(IDYES);

    QTimer::singleShot(0, &view, [&] {
        ListCtrlPackageView& list = *view.list();
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, boxCentre(list, 1));
        checksAfterClick = {logic.list.GetCheckbox(0, 0), logic.list.GetCheckbox(1, 0)};
        QTest::mouseClick(standardButton(view, QDialogButtonBox::Ok), Qt::LeftButton);
    });
    const int result = view.run();

    EXPECT_EQ(view.windowTitle(), "Select Packages");
    EXPECT_EQ(checksAfterClick, (std::vector<int>{1, 1}));
    EXPECT_EQ(watcher.received, (std::vector<std::pair<int, int>>{{1, 0}}));
    EXPECT_EQ(logic.listChanged, 1);
    EXPECT_EQ(boxes.texts(),
              (std::vector<std::string>{"Are you sure you want to change the list of packages for file collection? \n\n"}));
    EXPECT_EQ(result, IDOK);
    std::string selection;
    int count = 0;
    store.ReadSelection(store.CurrentSettingsPath(), selection, count);
    EXPECT_EQ(selection, "Logs*Net*");
}

TEST_F(PackageViewsTest, ThePackageDialogClosedByEscapeIsCancelled)
{
    ListPackage logic(store, &boxes);
    logic.selectMode = 0;
    ListPackageView view(logic, nullptr);
    int rows = 0;
    QTimer::singleShot(0, &view, [&] {
        rows = view.list()->model()->rowCount();
        QTest::keyClick(&view, Qt::Key_Escape);
    });
    EXPECT_EQ(view.run(), CancelAnswer);
    EXPECT_EQ(view.windowTitle(), "Restore Packages");
    EXPECT_EQ(rows, 2);
}

TEST_F(PackageViewsTest, TheNewPackageNameTakesAtMost25BytesAndPointsOutBadCharactersWhileTyped)
{
    NewPackage logic(store, &boxes);
    NewPackageView view(logic, nullptr);
    QString afterLongTyping;
    QTimer::singleShot(0, &view, [&] {
        auto* name = qobject_cast<QLineEdit*>(view.screen().control(NewPackage::PackageNameField));
        QTest::keyClicks(name, "a:");
        name->clear();
        QTest::keyClicks(name, QString(30, QLatin1Char('x')));
        afterLongTyping = name->text();
        name->clear();
        // Two bytes each: twelve fit, the thirteenth would make 26.
        for (int i = 0; i < 13; ++i) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_Eacute, Qt::NoModifier, QString(QChar(0x00E9)));
            QCoreApplication::sendEvent(name, &press);
        }
        QTest::mouseClick(standardButton(view, QDialogButtonBox::Ok), Qt::LeftButton);
    });
    const int result = view.run();

    EXPECT_EQ(view.windowTitle(), "New Package");
    EXPECT_EQ(boxes.texts(), (std::vector<std::string>{"Invalid character ':' in File Format field."}));
    EXPECT_EQ(afterLongTyping, QString(25, QLatin1Char('x')));
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(logic.resultName, QString(12, QChar(0x00E9)).toStdString());
}

TEST_F(PackageViewsTest, TheOptionsPanelShowsTheChosenPackageByTabAndDeletesTheSelectedRow)
{
    MorvaneDlg window(store, &boxes,
                      [](const std::string&, const std::string&, const std::string&, int) { return 100u; });
    MorvaneDlgView view(window);
    QtScreen& screen = view.screen();
    auto* combo = qobject_cast<QComboBox*>(screen.control(MorvaneDlg::PackageCombo));
    auto* tabs = qobject_cast<QTabBar*>(screen.control(MorvaneDlg::PackageTab));
    auto* files = qobject_cast<ListCtrlPackageView*>(screen.control(MorvaneDlg::FileList));
    auto* registry = qobject_cast<ListCtrlPackageView*>(screen.control(MorvaneDlg::RegistryList));
    ASSERT_TRUE(combo && tabs && files && registry);
    QStringList entries;
    QString shown;
    int fileRows = 0;
    bool registryShownFirst = true;
    bool filesShownOnTab1 = true;
    bool registryShownOnTab1 = false;
    boxes.setNextAnswer(IDYES);

    QTimer::singleShot(0, &view, [&] {
        QTest::mouseClick(qobject_cast<QPushButton*>(screen.control(MorvaneDlg::OptionsButton)), Qt::LeftButton);
        for (int i = 0; i < combo->count(); ++i)
            entries << combo->itemText(i);
        registryShownFirst = registry->isVisible();
        QTest::keyClick(combo, Qt::Key_Down);
        shown = combo->currentText();
        fileRows = files->model()->rowCount();

        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
        filesShownOnTab1 = files->isVisible();
        registryShownOnTab1 = registry->isVisible();
        QTest::mouseClick(registry->viewport(), Qt::LeftButton, {}, registry->cellRect(1, 0).center());
        QTest::mouseClick(qobject_cast<QPushButton*>(screen.control(MorvaneDlg::DeleteButton)), Qt::LeftButton);
        view.close();
    });
    view.exec();

    EXPECT_EQ(entries, (QStringList{"Logs", "Net"}));
    EXPECT_FALSE(registryShownFirst);
    EXPECT_EQ(shown, "Logs");
    EXPECT_EQ(fileRows, 1);
    EXPECT_FALSE(filesShownOnTab1);
    EXPECT_TRUE(registryShownOnTab1);
    ASSERT_EQ(boxes.texts().size(), 1u);
    EXPECT_NE(boxes.texts()[0].find("'HKEY_USERS'"), std::string::npos);
    std::string saved;
    platform::readFile(store.CurrentPackagePath("Logs"), saved);
    EXPECT_NE(saved.find("0)HKEY=HKEY_LOCAL_MACHINE\\SOFTWARE\r\n"), std::string::npos);
    EXPECT_EQ(saved.find("HKEY_USERS"), std::string::npos);
}
