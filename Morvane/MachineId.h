// The Unique Machine ID dialog: asks for the source of the machine ID when a collection stopped
// because none is defined, and writes the three source keys of section CONFIGURATION of the
// current settings file ("Computer Name", "Registry Field", "User Defined") and nothing else.
// It opens with no source selected, whatever the settings file holds.
#pragma once

#include "MessageBoxService.h"
#include "Screen.h"

#include "store/PackageStore.h"

#include <string>

class MachineId : public Dialog {
public:
    enum Control : int {
        OkButton = 1,
        CancelButton = 2,
        RegistryField = 1011,
        RegistryBrowseButton = 1065,
        ComputerNameSource = 1071,
        RegistryValueSource = 1072,
        UserDefinedSource = 1073,
        UserDefined = 1076,
    };

    enum class IdSource { ComputerName, RegistryValue, UserDefined };

    static constexpr const char* Caption = "Unique Machine ID";
    // The typed limit of the user-defined machine ID, in bytes.
    static constexpr std::size_t TextLimit = 30;

    // Without a message-box service no box is shown (every question answers -1).
    MachineId(PackageStore& store, MessageBoxService* messages);

    void OnInitDialog();

    void ShowIdSource(IdSource source);
    // The checks of OK and, once confirmed, the save; true when the settings were written.
    bool ValidateAndSave();

    // User actions.
    void OnSourceClicked(IdSource source);
    void OnRegistryFieldChanged();
    void OnUserDefinedChanged();
    void OnBrowseRegistry();
    void OnOK();
    // Cancel always asks whether to go on without a machine ID.
    void OnCancel();
    // The window's close box: the steps of OK, then the question of Cancel.
    void OnClose();

    void UpdateData(bool save);

    std::string registryField;
    std::string userDefined;
    int sourceComputerName = 0;
    int sourceRegistryValue = 0;
    int sourceUserDefined = 0;
    int modified = 0;

private:
    bool CheckRegistryField();
    bool SaveSettings();
    void Show(MessageKind kind, const std::string& text, unsigned int style);
    bool Confirm(const std::string& text);

    PackageStore& m_store;
    MessageBoxService* m_messages;
};
