#include "PackageManagementView.h"

#include <QComboBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabBar>

#include <functional>

void MorvaneDlgScreen::addTabBar(int id, QTabBar* tabs)
{
    m_tabBars[id] = tabs;
    addControl(id, tabs);
}

void MorvaneDlgScreen::addList(int id, ListCtrlPackageView* list)
{
    m_lists[id] = list;
    addControl(id, list);
}

int MorvaneDlgScreen::controlValue(int id) const
{
    if (const auto tabs = m_tabBars.find(id); tabs != m_tabBars.end())
        return tabs->second ? tabs->second->currentIndex() : 0;
    if (const auto list = m_lists.find(id); list != m_lists.end()) {
        if (!list->second)
            return -1;
        const QModelIndexList selected = list->second->selectionModel()->selectedIndexes();
        return selected.isEmpty() ? -1 : selected.first().row();
    }
    return QtScreen::controlValue(id);
}

void MorvaneDlgScreen::setControlValue(int id, int value)
{
    if (const auto tabs = m_tabBars.find(id); tabs != m_tabBars.end()) {
        if (tabs->second) {
            const QSignalBlocker blocker(tabs->second);
            tabs->second->setCurrentIndex(value);
        }
        return;
    }
    if (const auto list = m_lists.find(id); list != m_lists.end()) {
        ListCtrlPackageView* view = list->second;
        if (!view)
            return;
        const QModelIndex row = view->model()->index(value, 0);
        if (row.isValid())
            view->selectionModel()->setCurrentIndex(row, QItemSelectionModel::ClearAndSelect |
                                                             QItemSelectionModel::Rows);
        else
            view->selectionModel()->clear();
        return;
    }
    QtScreen::setControlValue(id, value);
}

PackageManagementView::PackageManagementView(MorvaneDlg& logic, MorvaneDlgScreen& screen, QWidget& panel)
    : m_logic(logic)
{
    (new QLabel(QObject::tr("Select Package:"), &panel))->setGeometry(10, 22, 100, 22);
    m_combo = new QComboBox(&panel);
    m_combo->setGeometry(112, 22, 230, 22);
    screen.addControl(MorvaneDlg::PackageCombo, m_combo);

    const auto addButton = [&](int id, const char* caption, QRect geometry, std::function<void()> command) {
        auto* button = new QPushButton(QObject::tr(caption), &panel);
        button->setGeometry(geometry);
        QObject::connect(button, &QPushButton::clicked, button, std::move(command));
        screen.addControl(id, button);
        return button;
    };
    addButton(MorvaneDlg::NewPackageButton, "&New Package", {10, 52, 114, 24}, [this] { m_logic.OnNewPackage(); });
    addButton(MorvaneDlg::DeletePackageButton, "&Delete Package", {128, 52, 114, 24},
              [this] { m_logic.OnDeletePackage(); });
    addButton(MorvaneDlg::RestorePackagesButton, "Restore Packages", {246, 52, 114, 24},
              [this] { m_logic.OnRestorePackages(); });
    addButton(MorvaneDlg::TemporaryPackageButton, "Temporary Package", {364, 52, 114, 24},
              [this] { m_logic.OnTemporaryPackage(); });

    auto* tabs = new QTabBar(&panel);
    tabs->addTab(QString::fromUtf8(MorvaneDlg::FileListTab));
    tabs->addTab(QString::fromUtf8(MorvaneDlg::RegistryListTab));
    tabs->setExpanding(false);
    tabs->setGeometry(10, 84, 468, 24);
    screen.addTabBar(MorvaneDlg::PackageTab, tabs);

    auto* files = new ListCtrlPackageView(logic.fileList, &panel);
    auto* registry = new ListCtrlPackageView(logic.registryList, &panel);
    for (ListCtrlPackageView* list : {files, registry}) {
        list->setGeometry(10, 108, 468, 136);
        QObject::connect(list, &QAbstractItemView::doubleClicked, list, [this] { m_logic.OnUpdate(); });
    }
    screen.addList(MorvaneDlg::FileList, files);
    screen.addList(MorvaneDlg::RegistryList, registry);

    addButton(MorvaneDlg::AddButton, "&Add", {10, 250, 114, 24}, [this] { m_logic.OnAdd(); });
    addButton(MorvaneDlg::DeleteButton, "&Delete", {128, 250, 114, 24}, [this] { m_logic.OnDelete(); });
    addButton(MorvaneDlg::UpdateButton, "&Update", {246, 250, 114, 24}, [this] { m_logic.OnUpdate(); });
    addButton(MorvaneDlg::RestoreListButton, "&Restore List", {364, 250, 114, 24},
              [this] { m_logic.OnRestoreList(); });
    addButton(MorvaneDlg::ResetButton, "&Reset Config and packages", {10, 250, 114, 24},
              [this] { m_logic.OnReset(); })
        ->hide();

    QObject::connect(m_combo, &QComboBox::activated, m_combo, [this](int index) {
        m_logic.packageCombo.SetCurSel(index);
        m_logic.OnPackageSelected();
    });
    QObject::connect(tabs, &QTabBar::currentChanged, tabs, [this](int index) { m_logic.ShowTab(index); });

    m_logic.packageCombo.addObserver(this);
    comboChanged();
}

PackageManagementView::~PackageManagementView()
{
    m_logic.packageCombo.removeObserver(this);
}

void PackageManagementView::comboChanged()
{
    if (!m_combo)
        return;
    const SortedComboBox& entries = m_logic.packageCombo;
    const QSignalBlocker blocker(m_combo);
    bool same = m_combo->count() == entries.GetCount();
    for (int index = 0; same && index < entries.GetCount(); ++index)
        same = m_combo->itemText(index) == QString::fromStdString(entries.GetLBText(index));
    if (!same) {
        m_combo->clear();
        for (int index = 0; index < entries.GetCount(); ++index)
            m_combo->addItem(QString::fromStdString(entries.GetLBText(index)));
    }
    m_combo->setCurrentIndex(entries.GetCurSel());
}
