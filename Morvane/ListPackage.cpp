#include "ListPackage.h"

#include "MessageText.h"

#include "platform/FileSystem.h"
#include "platform/Profile.h"

#include <algorithm>

namespace {

constexpr char ConfirmSelection[] =
    "Are you sure you want to change the list of packages for file collection? \n\n";               // 23
constexpr char ConfirmNoSelection[] = " No package is selected for file collection. \n\n Are you sure?"; // 1099
constexpr char ConfirmRestore[] =
    "Are you sure you want to restoring the selected packages to their default values? \n\n";      // 1080
constexpr char ConfirmNoRestore[] = " No package has been selected. \n\n Do you want to continue?";    // 1098
constexpr char Restored[] = "Packages '%s' have been restored to default values.";                  // 1106
constexpr char Selected[] = "Packages '%s' have been Select to default values.";                    // 1107

constexpr char CurrentPrefix[] = "current_package_";
constexpr char DefaultPrefix[] = "package_";
constexpr char Extension[] = ".ini";
constexpr char DefaultSettingsName[] = "Morvane.ini";
constexpr char SelectionSection[] = "SELECT PACKAGE";

constexpr int CheckColumn = 0;
constexpr int NameColumn = 1;

std::string lowered(std::string text)
{
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

// The names of the packages whose files carry the prefix, in listing order. As in the store's
// own listing, folders are no store files, and a name that no package could have (one a star
// list could not hold) is no package.
std::vector<std::string> packageNames(const PackageStore& store, const std::string& prefix)
{
    std::vector<platform::FolderEntry> entries;
    std::vector<std::string> names;
    if (!platform::listFolder(PackageStore::StoreFolder, entries))
        return names;
    const std::string extension = Extension;
    for (const platform::FolderEntry& entry : entries) {
        const std::string lower = lowered(entry.name);
        if (entry.info.kind == platform::EntryKind::Folder || !lower.starts_with(prefix) ||
            !lower.ends_with(extension))
            continue;
        const std::string name = entry.name.substr(prefix.size(), entry.name.size() - prefix.size() - extension.size());
        std::string offending;
        if (store.CheckNameCharacters(name, true, offending))
            names.push_back(name);
    }
    return names;
}

// Whether the star list holds the name as one of its entries. A name that only ends another
// entry ("ab" in "cab*") is not selected.
bool holdsEntry(const std::string& starList, const std::string& name)
{
    const std::string entry = name + "*";
    for (std::size_t at = starList.find(entry); at != std::string::npos; at = starList.find(entry, at + 1)) {
        if (at == 0 || starList[at - 1] == '*')
            return true;
    }
    return false;
}

std::string selectionKey(int number)
{
    return std::to_string(number) + ")Name";
}

} // namespace

ListPackage::ListPackage(PackageStore& store, MessageBoxService* messages) : m_store(store), m_messages(messages) {}

void ListPackage::OnInitDialog()
{
    listChanged = 0;
    screen().setTitle(selectMode ? SelectTitle : RestoreTitle);
    list.layoutName = "2col";
    list.fullRowSelect = true;
    list.InsertColumn(CheckColumn, "Select", ColumnAlignment::Centre, 50);
    list.InsertColumn(NameColumn, "Package", ColumnAlignment::Left, 162);

    std::string selection;
    int selected = 0;
    if (selectMode)
        m_store.ReadSelection(m_store.CurrentSettingsPath(), selection, selected);
    for (const std::string& name : packageNames(m_store, selectMode ? CurrentPrefix : DefaultPrefix)) {
        const int row = list.InsertItem(list.GetItemCount(), "");
        list.SetCheckbox(row, CheckColumn, selectMode && holdsEntry(selection, name) ? 1 : 0);
        list.SetItemColors(row, NameColumn, name, MakeColour(0, 0, 0), MakeColour(255, 255, 255));
    }
}

void ListPackage::OnListClicked()
{
    listChanged = 1;
}

std::vector<std::string> ListPackage::CheckedNames() const
{
    std::vector<std::string> names;
    for (int row = 0; row < list.GetItemCount(); ++row) {
        if (list.GetCheckbox(row, CheckColumn) == 1)
            names.push_back(list.GetItemText(row, NameColumn));
    }
    return names;
}

std::string ListPackage::CollectCheckedNames() const
{
    const std::vector<std::string> names = CheckedNames();
    std::string joined;
    for (auto name = names.rbegin(); name != names.rend(); ++name)
        joined += (joined.empty() ? "" : " , ") + *name;
    return joined;
}

void ListPackage::OnOK()
{
    const std::vector<std::string> names = CheckedNames();
    const bool none = names.empty();
    const char* question = selectMode ? (none ? ConfirmNoSelection : ConfirmSelection)
                                      : (none ? ConfirmNoRestore : ConfirmRestore);
    const std::string logText = none ? std::string() : withArguments(selectMode ? Selected : Restored, {CollectCheckedNames()});
    if (!none && listChanged == 0) {
        screen().endDialog(IDOK);
        return;
    }
    if (!m_messages || m_messages->show(MessageKind::Confirmation, question, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    m_store.AppendLogLine(logText, true);
    if (selectMode)
        Select(names);
    else
        Restore(names);
    screen().endDialog(IDOK);
}

void ListPackage::OnCancel()
{
    screen().endDialog(MessageAnswer(MessageButton::Cancel));
}

void ListPackage::Select(const std::vector<std::string>& names) const
{
    m_store.ClearSelection();
    const std::string settings = m_store.CurrentSettingsPath();
    for (std::size_t i = 0; i < names.size(); ++i)
        platform::writeProfileString(SelectionSection, selectionKey(static_cast<int>(i)), names[i], settings);
}

void ListPackage::Restore(const std::vector<std::string>& names) const
{
    const std::string folder = PackageStore::StoreFolder;
    for (const std::string& name : names)
        platform::copyFile(folder + DefaultPrefix + name + Extension, folder + CurrentPrefix + name + Extension);

    const std::string settings = m_store.CurrentSettingsPath();
    std::string defaultSelection;
    std::string currentSelection;
    int defaultCount = 0;
    int next = 0;
    m_store.ReadSelection(folder + DefaultSettingsName, defaultSelection, defaultCount);
    m_store.ReadSelection(settings, currentSelection, next);
    for (const std::string& name : names) {
        if (holdsEntry(defaultSelection, name) && !holdsEntry(currentSelection, name))
            platform::writeProfileString(SelectionSection, selectionKey(next++), name, settings);
    }
}
