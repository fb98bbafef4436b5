// The New Package dialog over its logic: the package name, OK and Cancel.
#pragma once

#include "NewPackage.h"
#include "QtScreen.h"

#include <QDialog>

class NewPackageView : public QDialog {
    Q_OBJECT

public:
    NewPackageView(NewPackage& logic, QWidget* parent);
    ~NewPackageView() override;

    // Initialises the logic and runs the dialog modally; returns IDOK or IDCANCEL.
    int run();

    QtScreen& screen() { return m_screen; }

public slots:
    // The close box and Escape cancel the dialog.
    void reject() override;

private:
    NewPackage& m_logic;
    QtScreen m_screen;
};
