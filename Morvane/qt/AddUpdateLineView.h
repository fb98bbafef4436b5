// The rule dialog over its logic: the file-rule controls in the taller window, the registry
// controls in the shorter one, each with its own OK and Cancel.
#pragma once

#include "AddUpdateLine.h"
#include "QtScreen.h"

#include <QDialog>

class QGroupBox;

class AddUpdateLineView : public QDialog {
    Q_OBJECT

public:
    AddUpdateLineView(AddUpdateLine& logic, QWidget* parent);
    ~AddUpdateLineView() override;

    // Initialises the logic and runs the dialog modally.
    int run();

    QtScreen& screen() { return m_screen; }

protected:
    void reject() override;

private:
    AddUpdateLine& m_logic;
    QtScreen m_screen;
    QGroupBox* m_frame = nullptr;
};
