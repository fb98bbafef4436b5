// The New Package dialog: asks for the name of a new package and refuses a name that is empty,
// holds a character that names may not hold, or belongs to an existing package. It writes
// nothing; after OK the caller creates the package from resultName.
#pragma once

#include "MessageBoxService.h"
#include "Screen.h"

#include "store/PackageStore.h"

#include <cstddef>
#include <string>

class NewPackage : public Dialog {
public:
    enum Control : int { OkButton = 1, CancelButton = 2, PackageNameField = 1024 };

    static constexpr const char* Caption = "New Package";
    // The typed limit of the name, in bytes.
    static constexpr std::size_t NameLimit = 25;

    // Without a message-box service no box is shown.
    NewPackage(PackageStore& store, MessageBoxService* messages);

    void OnInitDialog();
    // Any change of the name's text: a character that names may not hold is pointed out at once.
    void OnNameChanged();
    // The checks in order; the dialog ends with IDOK when they pass.
    void OnOK();
    void OnCancel();

    // The name as typed.
    std::string packageName;
    // Set only when the dialog ends with OK.
    std::string resultName;

private:
    void ShowError(const std::string& text);

    PackageStore& m_store;
    MessageBoxService* m_messages;
};
