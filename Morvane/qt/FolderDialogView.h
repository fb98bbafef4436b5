// The folder picker over its logic: a tree of the file system's folders, the status line when
// the caller asks for it, and OK and Cancel. Every move of the selection goes to the logic,
// which enables OK and sets the status.
#pragma once

#include "FolderDialog.h"
#include "QtScreen.h"

#include <QDialog>

class QFileSystemModel;
class QTreeView;

class FolderDialogView : public QDialog {
    Q_OBJECT

public:
    FolderDialogView(CFolderDialog& logic, QWidget* parent);
    ~FolderDialogView() override;

    // Initialises the logic and runs the browser modally: IDOK with the chosen folder kept by
    // the logic, CFolderDialog::NoPath, or CFolderDialog::Cancelled.
    int run();

    QtScreen& screen() { return m_screen; }
    QTreeView* tree() const { return m_tree; }
    // The Linux path of the selected folder; empty when none is selected.
    QString selectedPath() const;
    // Selects a folder by its Linux path, as the user would.
    void selectPath(const QString& path);

private:
    // The tree's text is the Linux path of its selected folder.
    class BrowserScreen : public QtScreen {
    public:
        explicit BrowserScreen(FolderDialogView& view) : QtScreen(view), m_view(view) {}
        std::string controlText(int id) const override;
        void setControlText(int id, const std::string& text) override;

    private:
        FolderDialogView& m_view;
    };

    CFolderDialog& m_logic;
    BrowserScreen m_screen;
    QFileSystemModel* m_model = nullptr;
    QTreeView* m_tree = nullptr;
};
