// The main window: the collection request (date and time of the problem, description, Collect,
// progress and status), the options panel it opens and closes, the handling of the reports the
// library posts back during a run, and the window menu.
//
// The object also serves silent runs, where no window is ever made: only StartCollection is
// called, and it never touches the screen. Everything else runs on the user-interface thread
// with a screen attached.
#pragma once

#include "MessageBoxService.h"
#include "Screen.h"

#include "Morvane/LibraryMessage.h"
#include "store/PackageStore.h"

#include <cstdint>
#include <functional>
#include <string>

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

private:
    // The selected moment is later than now, to the minute.
    bool IsProblemTimeInFuture() const;
    // The problem time as YYYY_MM_DD_HH_MM.
    std::string ProblemDateText() const;
    void SetProgress(int position);
    // Asks a Yes / No confirmation; true only for Yes.
    bool Confirm(const std::string& text, unsigned int style, int kind);

    PackageStore& m_store;
    MessageBoxService* m_messages;
    CollectionEntry m_collect;
};
