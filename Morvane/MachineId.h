// The Unique Machine ID dialog: asks for the source of the machine ID when a collection stopped
// because none is defined, and writes the three source keys of section CONFIGURATION of the
// current settings file ("Computer Name", "Registry Field", "User Defined") and nothing else.
// It opens with no source selected, whatever the settings file holds.
#pragma once

#include "MachineIdSource.h"

class MachineId : public MachineIdSource {
public:
    static constexpr const char* Caption = "Unique Machine ID";

    // Without a message-box service no box is shown (every question answers -1).
    MachineId(PackageStore& store, MessageBoxService* messages);

    void OnInitDialog() override;

    // The checks of OK and, once confirmed, the save; true when the settings were written.
    bool ValidateAndSave();

    // User actions, beside those of the machine-ID source.
    void OnOK() override;
    // Cancel always asks whether to go on without a machine ID.
    void OnCancel() override;
    // The window's close box: the steps of OK, then the question of Cancel.
    void OnClose() override;

    void UpdateData(bool save) override;

private:
    bool CheckRegistryField() override;
    bool SaveSettings() override;
};
