// The registry browser over its logic: the tree the logic holds, shown item for item with its
// five images, the path of the selection, and OK and Cancel.
#pragma once

#include "BrowseReg.h"
#include "QtScreen.h"

#include <QDialog>
#include <QIcon>

#include <array>
#include <vector>

class QTreeWidget;
class QTreeWidgetItem;

class BrowseRegView : public QDialog {
    Q_OBJECT

public:
    BrowseRegView(BrowseReg& logic, QWidget* parent);
    ~BrowseRegView() override;

    // Initialises the logic and runs the dialog modally.
    int run();

    QtScreen& screen() { return m_screen; }
    QTreeWidget* tree() const { return m_tree; }
    // The tree item that shows an item of the logic's tree.
    QTreeWidgetItem* treeItem(int item) const;

    // The images of the tree, drawn here: closed and open folder, computer, text and binary value.
    static QPixmap image(int which);

protected:
    void reject() override;

private:
    // Shows the items the logic added since the last call, and the images of the selection.
    void showItems(int selected);
    QIcon icon(const BrowseReg::TreeItem& item) const;

    BrowseReg& m_logic;
    QtScreen m_screen;
    QTreeWidget* m_tree = nullptr;
    std::vector<QTreeWidgetItem*> m_items;
    std::array<QPixmap, 5> m_images;
};
