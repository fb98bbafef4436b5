// The rule dialog: adds or updates one file rule (folder, file format, number of files,
// recursive flag) or one registry rule (key path) of a package. It checks the entry, refuses one
// that the package already holds, and hands the values back; storing the rule is the caller's.
//
// Use: construct, set mode, adding, packageName, ruleIndex and, for an update, the rule's
// values; give the package's rules of that kind in existingFileRules or existingRegistryRules
// (in list order: the index of each is its rule number); run the dialog modally; after IDOK read
// fileFormat, numberOfFiles, folder and recursive, or registryPath.
#pragma once

#include "MessageBoxService.h"
#include "Screen.h"

#include "store/PackageStore.h"

#include <string>
#include <vector>

class AddUpdateLine : public Dialog {
public:
    enum Control : int {
        OkButton = 1,
        CancelButton = 2,
        RegistryOkButton = 3,
        RegistryCancelButton = 4,
        RegistryPathField = 1022,
        FolderButton = 1028,
        FileFormatButton = 1029,
        FileFormatField = 1030,
        RegistryBrowseButton = 1031,
        NumberOfFilesList = 1034,
        RecursiveCheck = 1056,
        FolderLabel = 1057,
        FileFormatLabel = 1058,
        NumberOfFilesLabel = 1059,
        RegistryPathLabel = 1060,
        FolderField = 1079,
    };

    enum Mode : int { FileRuleMode = 0, RegistryRuleMode = 1 };

    static constexpr int Width = 480;
    static constexpr int FileModeHeight = 200;
    static constexpr int RegistryModeHeight = 120;
    // The typed limit of the file format, in bytes.
    static constexpr std::size_t FileFormatLimit = 30;
    // Items of the Number of Files list: "1" to "24", in this order.
    static constexpr int MaximumNumberOfFiles = 24;
    static std::vector<std::string> NumberOfFilesItems();

    // Without a message-box service no box is shown.
    AddUpdateLine(PackageStore& store, MessageBoxService* messages);

    void OnInitDialog();

    // User actions.
    void OnFileFormatChanged();
    void OnBrowseFolder();
    void OnBrowseRegistry();
    // Both OK buttons: the checks of the mode; ends the dialog with IDOK when they pass.
    void OnOK();
    // Both Cancel buttons.
    void OnCancel();

    // Exchanges the values with the controls: from the controls when save is set, else to them.
    void UpdateData(bool save);

    // Set by the caller.
    int mode = FileRuleMode;
    int adding = 1;
    std::string packageName;
    // The rule being updated; -1 when adding.
    int ruleIndex = -1;
    std::vector<FileRule> existingFileRules;
    std::vector<RegistryRule> existingRegistryRules;

    // Set by the caller for an update, read back after IDOK.
    std::string fileFormat;
    std::string numberOfFiles; // "1" to "24"
    std::string folder;        // ends in "\"
    int recursive = 0;
    std::string registryPath;  // with its root in canonical form

private:
    bool ValidateFileRule();
    bool ValidateRegistryRule();
    void SelectNumberOfFiles(int position);
    void ShowError(const std::string& text);

    PackageStore& m_store;
    MessageBoxService* m_messages;
    std::string m_initialFileFormat;
    std::string m_initialFolder;
};
