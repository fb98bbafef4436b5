// The package dialog. In select mode it chooses which current packages a collection includes
// (section SELECT PACKAGE of the current settings file); in restore mode it copies the chosen
// default packages over their current copies, and adds to the selection those that the
// default settings select. Its list shows one row per package, in the order the store folder
// is listed: a check box in column 0, the name in column 1.
#pragma once

#include "ListCtrlPackage.h"
#include "MessageBoxService.h"
#include "Screen.h"

#include "store/PackageStore.h"

#include <string>
#include <vector>

class ListPackage : public Dialog {
public:
    enum Control : int { OkButton = 1, CancelButton = 2, PackageList = 1029 };

    static constexpr const char* SelectTitle = "Select Packages";   // 1081
    static constexpr const char* RestoreTitle = "Restore Packages"; // 1082

    // Without a message-box service no question is shown, and OK never gets its Yes.
    ListPackage(PackageStore& store, MessageBoxService* messages);

    void OnInitDialog();
    // Any mouse click in the list.
    void OnListClicked();
    void OnOK();
    void OnCancel();

    // The names of the checked rows, the last row first, joined with " , ".
    std::string CollectCheckedNames() const;

    // 1 select mode, 0 restore mode; set before the dialog is shown.
    int selectMode = 1;
    // Set by any click in the list; 0 on every opening.
    int listChanged = 0;
    ListCtrlPackage list;

private:
    // The names of the checked rows, in list order.
    std::vector<std::string> CheckedNames() const;
    void Select(const std::vector<std::string>& names) const;
    void Restore(const std::vector<std::string>& names) const;

    PackageStore& m_store;
    MessageBoxService* m_messages;
};
