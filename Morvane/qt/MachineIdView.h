// The Unique Machine ID dialog over its logic.
#pragma once

#include "MachineId.h"
#include "QtScreen.h"

#include <QDialog>

class MachineIdView : public QDialog {
    Q_OBJECT

public:
    MachineIdView(MachineId& logic, QWidget* parent);
    ~MachineIdView() override;

    // Initialises the logic and runs the dialog modally.
    int run();

    QtScreen& screen() { return m_screen; }

protected:
    // Escape is the Cancel button; the close box runs the steps of OK first.
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

private:
    MachineId& m_logic;
    QtScreen m_screen;
    bool m_ended = false;
};
