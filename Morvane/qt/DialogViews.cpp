#include "DialogViews.h"

#include "AboutView.h"
#include "ListPackageView.h"
#include "NewPackageView.h"

int RunDialogView(Dialog& dialog, QWidget* parent)
{
    if (auto* about = dynamic_cast<AboutDlg*>(&dialog))
        return AboutView(*about, parent).run();
    if (auto* packages = dynamic_cast<ListPackage*>(&dialog))
        return ListPackageView(*packages, parent).run();
    if (auto* name = dynamic_cast<NewPackage*>(&dialog))
        return NewPackageView(*name, parent).run();
    return -1;
}
