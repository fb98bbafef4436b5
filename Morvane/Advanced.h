// The Settings dialog: shows and changes section CONFIGURATION of the current settings file
// (FTP server, local output folder, FTP transfer, ZIP password, machine-ID source), validates
// what the user entered, asks, and writes every value in one go. Nothing is written when nothing
// was changed, and nothing is written before every check has passed.
#pragma once

#include "MachineIdSource.h"

#include <string>

class Advanced : public MachineIdSource {
public:
    // The controls beside those of the machine-ID source.
    enum Control : int {
        PasswordMirror = 1024,
        ZipPassword = 1027,
        LocalFolderButton = 1032,
        LocalFolder = 1042,
        FtpServer = 1049,
        PerformFtp = 1050,
        PasswordEnable = 1052,
    };

    static constexpr const char* Caption = "Settings";

    // Without a message-box service no box is shown (every question answers -1).
    Advanced(PackageStore& store, MessageBoxService* messages);

    // Loads the settings; what loading changes does not count as a change of the user's.
    void OnInitDialog() override;

    void LoadSettings();
    // Checks what was entered; true when the dialog may close. Saves after a confirmation.
    bool ValidateSettings();
    // Writes every value; false when a write failed (the first failure stops the rest).
    bool SaveSettings() override;
    bool CheckRegistryField() override;

    // User actions, beside those of the machine-ID source.
    void OnPerformFtpClicked();
    void OnPasswordEnableClicked();
    void OnPasswordChanged();
    void OnBrowseLocalFolder();
    void OnOK() override;
    // The Cancel button: ends at once, nothing saved.
    void OnCancel() override;
    // The window's close box: the checks of OK, ending as Cancel.
    void OnClose() override;

    void UpdateData(bool save) override;

    std::string ftpServer;
    std::string localFolder;
    std::string zipPassword;
    std::string passwordMirror;
    int performFtp = 0;
    int passwordEnable = 0;

private:
    void ShowPasswordControls();
    bool WriteSetting(const std::string& key, const std::string& value);

    std::string m_settingsPath;
};
