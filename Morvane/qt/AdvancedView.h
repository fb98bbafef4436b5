// The Settings dialog over its logic.
#pragma once

#include "Advanced.h"
#include "QtScreen.h"

#include <QDialog>

class AdvancedView : public QDialog {
    Q_OBJECT

public:
    AdvancedView(Advanced& logic, QWidget* parent);
    ~AdvancedView() override;

    // Initialises the logic and runs the dialog modally.
    int run();

    QtScreen& screen() { return m_screen; }

protected:
    // Escape is the Cancel button; the close box runs the checks of OK.
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

private:
    Advanced& m_logic;
    QtScreen m_screen;
    bool m_ended = false;
};
