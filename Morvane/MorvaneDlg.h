// The main window: the collection request (date and time of the problem, description, Collect,
// progress and status), the options panel it opens and closes, the handling of the reports the
// library posts back during a run, the window menu, and the package management of the options
// panel (PackageManagement.cpp).
//
// The object also serves silent runs, where no window is ever made: only StartCollection is
// called, and it never touches the screen. Everything else runs on the user-interface thread
// with a screen attached.
#pragma once

#include "ListCtrlPackage.h"
#include "MessageBoxService.h"
#include "PackageManagement.h"
#include "Screen.h"

#include "Morvane/LibraryMessage.h"
#include "store/PackageStore.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class MorvaneDlg : public Dialog {
public:
    // Controls of the window, by their template identifiers.
    enum Control : int {
        ResetButton = 1013,
        DatePicker = 1016,
        TimePicker = 1017,
        NowPicker = 1018,
        FileList = 1029,
        DeletePackageButton = 1031,
        AddButton = 1035,
        DeleteButton = 1036,
        UpdateButton = 1037,
        CollectButton = 1000,
        OptionsButton = 1001,
        StatusLine = 1044,
        ProgressBar = 1045,
        RegistryList = 1046,
        InertDefaultButton = 1047,
        DescriptionEdit = 1048,
        PackageCombo = 1053,
        PackageTab = 1054,
        NewPackageButton = 1061,
        SelectPackagesButton = 1063,
        SettingsButton = 1064,
        RestorePackagesButton = 1066,
        TemporaryPackageButton = 1067,
        RestoreListButton = 1077,
    };

    // Window menu commands.
    static constexpr int AboutCommand = 0x10;
    static constexpr int UserGuideCommand = 0x102;

    // The tabs of the package lists, in order; the selected tab is the value of PackageTab.
    static constexpr const char* FileListTab = "File List";
    static constexpr const char* RegistryListTab = "Registry List";
    // The longest package name the combo offers while it lists several packages.
    static constexpr std::size_t ComboNameLimit = 25;
    static constexpr const char* TemporaryPackage = "Temporary";

    static constexpr int Width = 508;
    static constexpr int CollapsedHeight = 220;
    static constexpr int ExpandedHeight = 550;

    // The library's collection entry; tests put a recorder in its place.
    using CollectionEntry = std::function<std::uint32_t(const std::string& description, const std::string& message,
                                                        const std::string& problemTime, int unattended)>;

    // The problem date and time start at the current local time, the description empty. Without
    // a message-box service no box is shown (every box answers -1).
    explicit MorvaneDlg(PackageStore& store, MessageBoxService* messages = nullptr,
                        CollectionEntry collect = nullptr);

    // The service the window's boxes go through from now on (none: no box is shown).
    void SetMessageBoxService(MessageBoxService* messages) { m_messages = messages; }

    // The start-up of the window, once its controls exist.
    void OnInitDialog();

    // Exchanges the members with the controls: from the controls when save is set, else to them.
    void UpdateData(bool save);

    // Shows text with the style (buttons and icon) and the caption of kind 0 "Error",
    // 1 "Confirmation" or 2 "Information"; -1 for an empty text, show 0 or another kind.
    int ShowMessage(const std::string& text, unsigned int style, int kind, int show);

    // Enables or disables together the twelve command buttons (not the hidden reset).
    void EnableCommands(bool enable);
    // While off, the window cannot be closed by the user (close box, keyboard, Escape).
    void EnableCloseCommand(bool enable);

    void ToggleOptions();

    // Reactions to a new date or time in the pickers.
    void OnDateChanged();
    void OnTimeChanged();

    // The Collect button: the confirmations, then StartCollection.
    void OnCollect();

    // The Settings button: the Settings dialog, after which Collect no longer asks about the
    // transfer and the password.
    void OnSettings();

    // Passes the request to the library. Interactive runs go on in the background; a silent run
    // returns when the collection has ended.
    void StartCollection(bool silent);

    // A report of the library, on the user-interface thread in arrival order.
    void OnLibraryMessage(const LibraryMessage& record);
    void HandleCollectionEvent(int eventCode, const std::string& messageText, int ftpSent);

    // A window menu command.
    void OnSysCommand(int command);

    // The user asks to end the window (close box, keyboard, Escape). Returns whether it ends.
    bool OnCancel();

    PackageStore& store() const { return m_store; }

    // Package management. The package shown is always the combo's text, and the list a row
    // command works on is always the one of the selected tab; the selected row of a list is the
    // value of its control (-1 for none).

    // Reloads the combo from the store; nothing is selected afterwards.
    void FillPackageCombo();
    // The tabs' lists and their columns, once, at start-up.
    void SetupTabsAndColumns();
    // 0 shows the file list, 1 the registry list; other values do nothing.
    void ShowTab(int index);
    // The user chose a package in the combo.
    void OnPackageSelected();
    // Fills both lists from the current copy of the package.
    void LoadPackage(const std::string& name);
    // Appends a file rule given as "Filenum,Recursive,Directory,FileFormat".
    void AddFileRow(const std::string& text);
    void AddRegistryRow(const std::string& path);
    // False, after telling the user, when no package is chosen.
    bool CheckPackageName(const std::string& name);
    // Creates the current copy of a new package, empty and selected, and reloads the combo.
    // True when the package exists afterwards: created, or there already (after telling the
    // user so); false, after telling the user, when its file could not be created.
    bool CreatePackage(const std::string& name);
    // Appends a rule to the list of the selected tab (unless it holds an equal one) or updates
    // that list's selected row, then saves the package. For a registry rule folder is its path.
    void AddOrUpdateRow(bool isNew, const std::string& filesNum, const std::string& folder,
                        const std::string& fileFormat, int recursive);
    // Whether the list of the selected tab holds the rule already: letters compared without
    // regard to case, blanks around them left out; the number of files and the recursive flag
    // do not count.
    bool IsDuplicateRow(const std::string& folder, const std::string& fileFormat) const;
    // Rewrites the current copy of the package shown from both lists. False, after telling the
    // user, when the file could not be written.
    bool SavePackageLists();

    // The commands of the options panel.
    void OnNewPackage();
    void OnDeletePackage();
    void OnRestorePackages();
    void OnTemporaryPackage();
    void OnSelectPackages();
    void OnAdd();
    // Also a double click on either list.
    void OnUpdate();
    void OnDelete();
    void OnRestoreList();
    // The hidden "Reset Config and packages".
    void OnReset();

    DateTime problemDate;
    DateTime problemTime;
    DateTime now;
    std::string description;
    std::string statusText;
    std::string settingsPath;
    int optionsCollapsed = 0;
    int settingsOpened = 0;
    int selectionOpened = 0;
    int silentMode = 0;
    // Whether the user may close the window.
    bool closeEnabled = true;

    SortedComboBox packageCombo;
    // Column 0 empty, then "Files Num", "Recursive", "Folder", "File Format".
    ListCtrlPackage fileList;
    // Column 0 "Registry List".
    ListCtrlPackage registryList;

private:
    // The selected moment is later than now, to the minute.
    bool IsProblemTimeInFuture() const;
    // The problem time as YYYY_MM_DD_HH_MM.
    std::string ProblemDateText() const;
    void SetProgress(int position);
    // The selected tab: 1 for the registry list, 0 otherwise.
    int SelectedTab() const;
    // The selected row of the selected tab's list; -1 for none.
    int SelectedRow() const;
    // Empties both lists, leaving no row selected.
    void EmptyLists();
    // The rules stored in the current copy of a package, for the rule dialog's duplicate check.
    void StoredRules(const std::string& name, std::vector<FileRule>& fileRules,
                     std::vector<RegistryRule>& registryRules) const;
    void ShowError(const std::string& text);
    // A Yes / No question; true only for Yes.
    bool Ask(const std::string& question);
    // Asks a Yes / No confirmation; true only for Yes.
    bool Confirm(const std::string& text, unsigned int style, int kind);

    PackageStore& m_store;
    MessageBoxService* m_messages;
    CollectionEntry m_collect;
};
