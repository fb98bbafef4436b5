// The Unique Machine ID dialog over its logic.
#pragma once

#include "MachineId.h"
#include "MachineIdSourceView.h"

class MachineIdView : public MachineIdSourceView {
    Q_OBJECT

public:
    MachineIdView(MachineId& logic, QWidget* parent);
};
