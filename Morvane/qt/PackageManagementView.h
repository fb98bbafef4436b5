// The package management of the main window's options panel over MorvaneDlg's logic: the
// package combo and its four package buttons, the tabs with the file and the registry list, and
// the four row buttons; and the main window's screen, which reads the selected tab and the
// selected row of each list from those controls.
#pragma once

#include "ListCtrlPackageView.h"
#include "MorvaneDlg.h"
#include "QtScreen.h"

#include <QPointer>

#include <map>

class QComboBox;
class QTabBar;

// The screen of the main window: the selected tab of a tab bar, and the selected row of a rule
// list (-1 for none), are the values of those controls.
class MorvaneDlgScreen : public QtScreen {
public:
    using QtScreen::QtScreen;

    // Names a tab bar or a list; it is a control of the screen as well.
    void addTabBar(int id, QTabBar* tabs);
    void addList(int id, ListCtrlPackageView* list);

    int controlValue(int id) const override;
    void setControlValue(int id, int value) override;

private:
    std::map<int, QPointer<QTabBar>> m_tabBars;
    std::map<int, QPointer<ListCtrlPackageView>> m_lists;
};

// The controls live in the panel; the logic must outlive this object.
class PackageManagementView : private SortedComboBox::Observer {
public:
    // Builds the controls into the panel and names them on the screen.
    PackageManagementView(MorvaneDlg& logic, MorvaneDlgScreen& screen, QWidget& panel);
    ~PackageManagementView() override;
    PackageManagementView(const PackageManagementView&) = delete;
    PackageManagementView& operator=(const PackageManagementView&) = delete;

private:
    // The combo shows the entries and the selection of the logic's combo.
    void comboChanged() override;

    MorvaneDlg& m_logic;
    QPointer<QComboBox> m_combo;
};
