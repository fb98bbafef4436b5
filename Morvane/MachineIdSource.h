// The machine-ID source as both the Settings dialog and the Unique Machine ID dialog edit it:
// three radio buttons (computer name, registry value, user-defined text), the registry path with
// its browse button, the user-defined text, their checks, and the three source keys of section
// CONFIGURATION ("Computer Name", "Registry Field", "User Defined"). Each dialog derives from it,
// adds its own controls and exchanges all of its fields in UpdateData.
#pragma once

#include "MessageBoxService.h"
#include "Screen.h"

#include "store/PackageStore.h"

#include <string>

class MachineIdSource : public Dialog {
public:
    // Both dialogs give the source controls, and their OK and Cancel buttons, the same identifiers.
    enum SourceControl : int {
        OkButton = 1,
        CancelButton = 2,
        RegistryField = 1011,
        RegistryBrowseButton = 1065,
        ComputerNameSource = 1071,
        RegistryEntrySource = 1072,
        RegistryValueSource = RegistryEntrySource,
        UserDefinedSource = 1073,
        UserDefined = 1076,
    };

    // The registry source is captioned "Registry Entry" in the Settings dialog and "Registry
    // Value" in the Unique Machine ID dialog.
    enum class IdSource { ComputerName, RegistryEntry, RegistryValue = RegistryEntry, UserDefined };

    // The typed limit of the user-defined machine ID, in bytes (the ZIP password has the same).
    static constexpr std::size_t TextLimit = 30;

    // Shows the controls of the source, selects it alone and copies all fields into the controls.
    void ShowIdSource(IdSource source);

    // User actions.
    void OnSourceClicked(IdSource source);
    void OnRegistryFieldChanged();
    void OnUserDefinedChanged();
    void OnBrowseRegistry();

    // The dialog's own steps: opening, its OK and Cancel buttons, and the window's close box.
    virtual void OnInitDialog() = 0;
    virtual void OnOK() = 0;
    virtual void OnCancel() = 0;
    virtual void OnClose() = 0;

    // Exchanges the fields with the controls: from the controls when save is set, else to them.
    virtual void UpdateData(bool save) = 0;

    std::string registryField;
    std::string userDefined;
    int sourceComputerName = 0;
    int sourceRegistryEntry = 0;
    int sourceUserDefined = 0;
    // Set by the first user action of the dialog; a dialog with it clear writes nothing.
    int modified = 0;

protected:
    // Without a message-box service no box is shown (every question answers -1).
    MachineIdSource(PackageStore& store, MessageBoxService* messages);

    // The registry path, its browse button and the user-defined text start hidden.
    void HideSourceFields();
    bool AnySourceSelected() const;
    // The source part of UpdateData. A new text in the user-defined ID is checked as typed text
    // is, also while the dialog opens.
    void ReadSourceControls();
    void WriteSourceControls();

    // Reads the registry path from its control and checks that it names a readable value whose
    // data holds no forbidden character; path receives the path with its root in canonical form.
    bool CheckRegistryPath(std::string& path);
    // Reads the user-defined ID from its control; an empty text fails as a forbidden one does.
    bool CheckUserDefinedField();
    // The last checks before a save: the field of the selected source, then the user's
    // confirmation; then the save. True when the settings were written.
    bool CheckSourceAndSave();
    // The registry check as the dialog applies it, and the dialog's whole save.
    virtual bool CheckRegistryField() = 0;
    virtual bool SaveSettings() = 0;

    // A source that is not selected, or whose text is empty, is stored as "NULL".
    void ClearUnusedSources();
    // Writes the three source keys; the first failure stops the rest.
    bool WriteSourceKeys(const std::string& settingsPath) const;

    // Cuts a control's text to the typed limit.
    void LimitText(int control, std::size_t limit);
    void Show(MessageKind kind, const std::string& text, unsigned int style);
    bool Confirm(const std::string& text);

    PackageStore& m_store;
    MessageBoxService* m_messages;
};
