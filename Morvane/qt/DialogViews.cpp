#include "DialogViews.h"

#include "AboutView.h"

int RunDialogView(Dialog& dialog, QWidget* parent)
{
    if (auto* about = dynamic_cast<AboutDlg*>(&dialog))
        return AboutView(*about, parent).run();
    return -1;
}
