// The Settings dialog: shows and changes section CONFIGURATION of the current settings file
// (FTP server, local output folder, FTP transfer, ZIP password, machine-ID source), validates
// what the user entered, asks, and writes every value in one go. Nothing is written when nothing
// was changed, and nothing is written before every check has passed.
#pragma once

#include "MessageBoxService.h"
#include "Screen.h"

#include "store/PackageStore.h"

#include <string>

class Advanced : public Dialog {
public:
    enum Control : int {
        OkButton = 1,
        CancelButton = 2,
        RegistryField = 1011,
        PasswordMirror = 1024,
        ZipPassword = 1027,
        LocalFolderButton = 1032,
        LocalFolder = 1042,
        FtpServer = 1049,
        PerformFtp = 1050,
        PasswordEnable = 1052,
        RegistryBrowseButton = 1065,
        ComputerNameSource = 1071,
        RegistryEntrySource = 1072,
        UserDefinedSource = 1073,
        UserDefined = 1076,
    };

    enum class IdSource { ComputerName, RegistryEntry, UserDefined };

    static constexpr const char* Caption = "Settings";
    // The typed limit of the ZIP password and of the user-defined machine ID, in bytes.
    static constexpr std::size_t TextLimit = 30;

    // Without a message-box service no box is shown (every question answers -1).
    Advanced(PackageStore& store, MessageBoxService* messages);

    // Loads the settings; what loading changes does not count as a change of the user's.
    void OnInitDialog();

    void LoadSettings();
    void ShowIdSource(IdSource source);
    // Checks what was entered; true when the dialog may close. Saves after a confirmation.
    bool ValidateSettings();
    // Writes every value; false when a write failed (the first failure stops the rest).
    bool SaveSettings();
    bool CheckRegistryField();

    // User actions.
    void OnSourceClicked(IdSource source);
    void OnPerformFtpClicked();
    void OnPasswordEnableClicked();
    void OnPasswordChanged();
    void OnRegistryFieldChanged();
    void OnUserDefinedChanged();
    void OnBrowseRegistry();
    void OnBrowseLocalFolder();
    void OnOK();
    // The Cancel button: ends at once, nothing saved.
    void OnCancel();
    // The window's close box: the checks of OK, ending as Cancel.
    void OnClose();

    // Exchanges the fields with the controls: from the controls when save is set, else to them.
    void UpdateData(bool save);

    std::string ftpServer;
    std::string localFolder;
    std::string registryField;
    std::string userDefined;
    std::string zipPassword;
    std::string passwordMirror;
    int performFtp = 0;
    int passwordEnable = 0;
    int sourceComputerName = 0;
    int sourceRegistryEntry = 0;
    int sourceUserDefined = 0;
    int modified = 0;

private:
    void ShowPasswordControls();
    // Cuts a control's text to the typed limit.
    void LimitText(int control, std::size_t limit);
    void Show(MessageKind kind, const std::string& text, unsigned int style);
    bool Confirm(const std::string& text);
    bool WriteSetting(const std::string& key, const std::string& value);

    PackageStore& m_store;
    MessageBoxService* m_messages;
    std::string m_settingsPath;
};
