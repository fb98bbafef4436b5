// The frame that the Settings and the Unique Machine ID views share: the logic attached to the
// screen, the OK and Cancel row, Escape as Cancel, the close box running the dialog's close
// steps, and the modal run.
#pragma once

#include "MachineIdSource.h"
#include "QtScreen.h"

#include <QDialog>

class QHBoxLayout;

class MachineIdSourceView : public QDialog {
    Q_OBJECT

public:
    ~MachineIdSourceView() override;

    // Initialises the logic and runs the dialog modally.
    int run();

    QtScreen& screen() { return m_screen; }

protected:
    MachineIdSourceView(MachineIdSource& logic, QWidget* parent);

    // The OK and Cancel buttons, right-aligned in a row for the view's layout, wired to the logic.
    QHBoxLayout* addOkCancelButtons();

    void reject() override;
    void closeEvent(QCloseEvent* event) override;

private:
    MachineIdSource& m_source;
    QtScreen m_screen;
    bool m_ended = false;
};
