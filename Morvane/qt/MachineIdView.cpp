#include "MachineIdView.h"

#include "MachineIdSourceControls.h"

#include <QGroupBox>
#include <QVBoxLayout>

MachineIdView::MachineIdView(MachineId& logic, QWidget* parent) : MachineIdSourceView(logic, parent)
{
    auto* group = new QGroupBox;
    addMachineIdSourceControls(*group, tr("Registry Value"), screen(), logic);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(addOkCancelButtons());
    setMinimumWidth(380);
}
