// The registry browser: a tree of "My Computer", the five roots and, read from the registry the
// first time a key is selected, each key's sub-keys and, in value mode, its named values. It
// returns the path of the selected key (key mode) or value (value mode).
//
// The dialog holds the tree itself; its view shows the items in the order they were added and
// tells the dialog which one the user selected.
#pragma once

#include "MessageBoxService.h"
#include "Screen.h"

#include "store/PackageStore.h"

#include <string>
#include <vector>

class BrowseReg : public Dialog {
public:
    enum Control : int {
        OkButton = 1,
        CancelButton = 2,
        RegistryTree = 1017,
        SplitterButton = 1020,
        PathField = 1024,
        ValueList = 1029,
    };

    // The images of the tree.
    enum Image : int { ClosedFolder = 0, OpenFolder = 1, Computer = 2, TextValue = 3, BinaryValue = 4 };

    static constexpr const char* Caption = "Dialog";
    static constexpr const char* TopItemText = "My Computer";

    struct TreeItem {
        std::string text;
        int image = ClosedFolder;
        int selectedImage = OpenFolder;
        int parent = -1;
        std::vector<int> children;
    };

    // valueMode 0 browses keys, 1 keys and their values. Without a message-box service no box is
    // shown.
    BrowseReg(PackageStore& store, MessageBoxService* messages, int valueMode = 0);

    // Fills the tree with "My Computer" (item 0) and the five roots below it.
    void OnInitDialog();

    // The user selected an item of the tree.
    void OnSelChanged(int item);

    // OK: in value mode the value must be readable and its data a valid name. Ends the dialog
    // with IDOK when accepted.
    void OnOK();
    void OnCancel();

    const std::vector<TreeItem>& items() const { return m_items; }

    int valueMode;
    // Read by the caller after OK.
    std::string resultPath;

private:
    int addItem(int parent, const std::string& text, int image, int selectedImage);
    // Reads the sub-keys (and in value mode the values) of a key below the item.
    void ReadChildren(int item, unsigned int rootKey, const std::string& subkeyPath);
    void ShowError(const std::string& text);

    PackageStore& m_store;
    MessageBoxService* m_messages;
    std::vector<TreeItem> m_items;
};
