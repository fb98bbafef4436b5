#include "DialogViews.h"

#include "AboutView.h"
#include "AddUpdateLineView.h"
#include "AdvancedView.h"
#include "BrowseRegView.h"
#include "FolderDialogView.h"
#include "ListPackageView.h"
#include "MachineIdView.h"
#include "NewPackageView.h"

int RunDialogView(Dialog& dialog, QWidget* parent)
{
    if (auto* about = dynamic_cast<AboutDlg*>(&dialog))
        return AboutView(*about, parent).run();
    if (auto* packages = dynamic_cast<ListPackage*>(&dialog))
        return ListPackageView(*packages, parent).run();
    if (auto* name = dynamic_cast<NewPackage*>(&dialog))
        return NewPackageView(*name, parent).run();
    if (auto* settings = dynamic_cast<Advanced*>(&dialog))
        return AdvancedView(*settings, parent).run();
    if (auto* rule = dynamic_cast<AddUpdateLine*>(&dialog))
        return AddUpdateLineView(*rule, parent).run();
    if (auto* machineId = dynamic_cast<MachineId*>(&dialog))
        return MachineIdView(*machineId, parent).run();
    if (auto* registry = dynamic_cast<BrowseReg*>(&dialog))
        return BrowseRegView(*registry, parent).run();
    if (auto* folder = dynamic_cast<CFolderDialog*>(&dialog))
        return FolderDialogView(*folder, parent).run();
    return -1;
}
