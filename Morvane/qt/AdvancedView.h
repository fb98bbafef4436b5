// The Settings dialog over its logic.
#pragma once

#include "Advanced.h"
#include "MachineIdSourceView.h"

class AdvancedView : public MachineIdSourceView {
    Q_OBJECT

public:
    AdvancedView(Advanced& logic, QWidget* parent);

private:
    Advanced& m_logic;
};
