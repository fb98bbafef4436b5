// The folder picker: a modal folder browser over the file system that checks each selected
// folder against the caller's validation flags, enables or disables its OK button and says in
// its status line which rule the folder breaks.
//
// The browser reports folders as Linux paths; the chosen folder comes back in the system's own
// form, "C:\" followed by the path with backslashes.
#pragma once

#include "Screen.h"

#include <string>

// The browser's own flags.
constexpr unsigned int BIF_RETURNONLYFSDIRS = 0x0001;
constexpr unsigned int BIF_STATUSTEXT = 0x0004;

// Validation flags, above the browser's own.
constexpr unsigned int FD_LOCAL_DRIVE = 0x8000;
constexpr unsigned int FD_FIXED_DRIVE = 0x10000;
constexpr unsigned int FD_WRITABLE = 0x20000;
constexpr unsigned int FD_NON_ROOT = 0x40000;

class CFolderDialog : public Dialog {
public:
    // Controls of the browser.
    enum Control : int {
        OkButton = 1,
        CancelButton = 2,
        // The folder tree; its text is the Linux path of the selected folder.
        FolderTree = 1000,
        StatusText = 1001,
    };

    // Results of a run besides IDOK: the user cancelled, or the chosen folder has no path the
    // system can express.
    static constexpr int Cancelled = -1;
    static constexpr int NoPath = 2;

    static constexpr const char* InvalidFolderText = "< Please select a valid folder >";
    static constexpr const char* LocalDriveText = "< Please select a folder on a local drive >";
    static constexpr const char* FixedDriveText = "< Please select a folder on a non-removeable drive >";
    static constexpr const char* WritableText = "< Please select a non-readonly folder >";
    static constexpr const char* NonRootText = "< Please select a non-root folder >";

    // An empty initial folder means none.
    CFolderDialog(const std::string& title, const std::string& initialFolder, unsigned int flags);

    const std::string& title() const { return m_title; }
    unsigned int flags() const { return m_flags; }
    // Whether the browser shows its status line.
    bool showsStatusText() const { return (m_flags & BIF_STATUSTEXT) != 0; }

    // The browser is up: selects the initial folder, when there is one.
    void OnInitialized();

    // The browser's selection moved to this folder (a Linux path, empty for an item that is no
    // folder of the file system): applies the rules in order, enables or disables OK and sets
    // the status text, empty when every rule holds.
    void OnSelChanged(const std::string& folder);

    // The user chose this folder; returns IDOK and keeps it as the selected folder, or NoPath.
    int OnChosen(const std::string& folder);

    // Valid after a run that returned IDOK.
    const std::string& selectedFolder() const { return m_selectedFolder; }

private:
    std::string m_title;
    std::string m_initialFolder;
    unsigned int m_flags;
    std::string m_selectedFolder;
};
