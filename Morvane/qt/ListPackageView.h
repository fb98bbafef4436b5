// The package dialog over its logic: the check-box list of packages, OK and Cancel.
#pragma once

#include "ListCtrlPackageView.h"
#include "ListPackage.h"
#include "QtScreen.h"

#include <QDialog>

class ListPackageView : public QDialog {
    Q_OBJECT

public:
    ListPackageView(ListPackage& logic, QWidget* parent);
    ~ListPackageView() override;

    // Initialises the logic and runs the dialog modally; returns IDOK or IDCANCEL.
    int run();

    QtScreen& screen() { return m_screen; }
    ListCtrlPackageView* list() const { return m_list; }

public slots:
    // The close box and Escape cancel the dialog.
    void reject() override;

protected:
    // Notes every mouse click in the list.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ListPackage& m_logic;
    QtScreen m_screen;
    ListCtrlPackageView* m_list = nullptr;
};
