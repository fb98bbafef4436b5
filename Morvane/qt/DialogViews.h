// Shows the view of a dialog's logic modally over a parent window.
#pragma once

#include "Screen.h"

class QWidget;

// Returns the dialog's result; -1 when the program has no view for that dialog.
int RunDialogView(Dialog& dialog, QWidget* parent);
