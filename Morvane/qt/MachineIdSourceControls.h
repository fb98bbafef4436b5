// The machine-ID source controls shared by the Settings and the Unique Machine ID views.
#pragma once

#include "MachineIdSource.h"
#include "QtScreen.h"

#include <QString>

class QGroupBox;

// Lays the three source buttons, the registry path with its browse button and the user-defined
// text out in group, names them on the screen and sends their actions to logic. registryCaption
// is the caption of the registry source button.
void addMachineIdSourceControls(QGroupBox& group, const QString& registryCaption, QtScreen& screen,
                                MachineIdSource& logic);
