// The About dialog over its logic.
#pragma once

#include "AboutDlg.h"
#include "QtScreen.h"

#include <QDialog>

class AboutView : public QDialog {
    Q_OBJECT

public:
    AboutView(AboutDlg& logic, QWidget* parent);
    ~AboutView() override;

    // Initialises the logic and runs the dialog modally.
    int run();

private:
    AboutDlg& m_logic;
    QtScreen m_screen;
};
