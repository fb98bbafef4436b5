// The main window's package management: the package combo, the two rule lists, and the package
// and row commands of the options panel. Every change made in the lists is written back to the
// current copy of the package at once.
#include "MorvaneDlg.h"

#include "AddUpdateLine.h"
#include "ListPackage.h"
#include "MessageText.h"
#include "NewPackage.h"

#include "Morvane/MorvaneLib.h"
#include "platform/FileSystem.h"
#include "platform/Profile.h"

#include <algorithm>
#include <cstdlib>
#include <initializer_list>

namespace {

constexpr char NoFileToDelete[] = "No file was selected for delete. Please select file.";                     // 10
constexpr char ConfirmDeletePackage[] = "Are you sure you want to delete the '%s' package?\n\n";                // 14
constexpr char ConfirmDeleteFile[] =
    "Are you sure you want to delete the \n '%s%s' \n file from package '%s'? \n\n";                           // 19
constexpr char ConfirmDeleteRegistry[] =
    "Are you sure you want to delete the \n  '%s'  \n Registry Path from package '%s'? \n\n";                   // 20
constexpr char ConfirmRestoreFiles[] =
    "Are you sure you want to restore the file list of package '%s' to its default value? \n\n";               // 21
constexpr char ConfirmRestoreRegistry[] =
    "Are you sure you want to restore the registry list of package '%s' to its default value? \n\n";           // 22
constexpr char NoRegistryToDelete[] = "No Registry was selected for delete. Please select Registry.";          // 1091
constexpr char NoRegistryToUpdate[] = "No Registry was selected for update. Please select Registry.";          // 1092
constexpr char NoFileToUpdate[] = "No file was selected for update. Please select file.";                      // 1093
constexpr char ConfirmDeleteUnrestorable[] =
    " Are you sure you want to delete package '%s'?\n This package cannot be restored.\n\n";                   // 1097
constexpr char PackageNotCreated[] = "Package '%s' could not be created as '%s'.";
constexpr char PackageNotWritten[] = "Package '%s' could not be written to '%s'.";

constexpr int FileTab = 0;
constexpr int RegistryTab = 1;

// Columns of the file list; column 0 stays empty and keeps the row.
constexpr int FilesNumColumn = 1;
constexpr int RecursiveColumn = 2;
constexpr int FolderColumn = 3;
constexpr int FileFormatColumn = 4;
constexpr char RecursiveShown[] = "Yes";

constexpr Colour Black = MakeColour(0, 0, 0);
constexpr Colour White = MakeColour(255, 255, 255);

char lowerLetter(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// A rule's folder, file format or path as the duplicate check compares it.
std::string comparable(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    std::string result = text.substr(first, text.find_last_not_of(" \t") - first + 1);
    std::transform(result.begin(), result.end(), result.begin(), lowerLetter);
    return result;
}

// Letters compared without regard to case first, then the bytes.
bool sortsBefore(const std::string& a, const std::string& b)
{
    const auto folded = [](char x, char y) {
        return static_cast<unsigned char>(lowerLetter(x)) < static_cast<unsigned char>(lowerLetter(y));
    };
    if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), folded))
        return true;
    if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), folded))
        return false;
    return a < b;
}

bool beginsWithIgnoringCase(const std::string& text, const std::string& prefix)
{
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(),
                      [](char x, char y) { return lowerLetter(x) == lowerLetter(y); });
}

std::string numberedKey(int number, const char* name)
{
    return std::to_string(number) + ")" + name;
}

} // namespace

void SortedComboBox::addObserver(Observer* observer)
{
    if (observer && std::find(m_observers.begin(), m_observers.end(), observer) == m_observers.end())
        m_observers.push_back(observer);
}

void SortedComboBox::removeObserver(Observer* observer)
{
    m_observers.erase(std::remove(m_observers.begin(), m_observers.end(), observer), m_observers.end());
}

void SortedComboBox::ResetContent()
{
    m_entries.clear();
    m_selected = -1;
    notify();
}

int SortedComboBox::AddString(const std::string& text)
{
    const auto at = std::upper_bound(m_entries.begin(), m_entries.end(), text, sortsBefore);
    const int index = static_cast<int>(at - m_entries.begin());
    m_entries.insert(at, text);
    if (m_selected >= index)
        ++m_selected;
    notify();
    return index;
}

bool SortedComboBox::DeleteString(int index)
{
    if (index < 0 || index >= GetCount())
        return false;
    m_entries.erase(m_entries.begin() + index);
    if (m_selected == index)
        m_selected = -1;
    else if (m_selected > index)
        --m_selected;
    notify();
    return true;
}

int SortedComboBox::GetCount() const
{
    return static_cast<int>(m_entries.size());
}

std::string SortedComboBox::GetLBText(int index) const
{
    return index >= 0 && index < GetCount() ? m_entries[index] : std::string();
}

bool SortedComboBox::SetCurSel(int index)
{
    if (index < -1 || index >= GetCount())
        return false;
    m_selected = index;
    notify();
    return true;
}

int SortedComboBox::FindString(const std::string& text) const
{
    for (int index = 0; index < GetCount(); ++index) {
        if (beginsWithIgnoringCase(m_entries[index], text))
            return index;
    }
    return -1;
}

int SortedComboBox::SelectString(const std::string& text)
{
    const int index = FindString(text);
    if (index >= 0)
        SetCurSel(index);
    return index;
}

std::string SortedComboBox::GetWindowText() const
{
    return GetLBText(m_selected);
}

void SortedComboBox::notify()
{
    const std::vector<Observer*> observers = m_observers;
    for (Observer* observer : observers)
        observer->comboChanged();
}

void MorvaneDlg::FillPackageCombo()
{
    packageCombo.ResetContent();
    std::string names;
    const int count = m_store.ListCurrentPackageNames(names);
    std::string name;
    for (int i = 0; i < count; ++i) {
        // The only package is offered whatever the length of its name.
        if (names.find(',') == std::string::npos) {
            packageCombo.AddString(names);
            break;
        }
        if (m_store.GetField(names, i, ',', name).size() <= ComboNameLimit)
            packageCombo.AddString(name);
    }
}

void MorvaneDlg::SetupTabsAndColumns()
{
    EmptyLists();
    fileList.fullRowSelect = true;
    fileList.InsertColumn(0, "", ColumnAlignment::Centre, 0);
    fileList.InsertColumn(FilesNumColumn, "Files Num", ColumnAlignment::Centre, 60);
    fileList.InsertColumn(RecursiveColumn, "Recursive", ColumnAlignment::Centre, 60);
    fileList.InsertColumn(FolderColumn, "Folder", ColumnAlignment::Left, 240);
    fileList.InsertColumn(FileFormatColumn, "File Format", ColumnAlignment::Left, 94);
    registryList.InsertColumn(0, "Registry List", ColumnAlignment::Left, 460);
    registryList.layoutName = "listreg";
    screen().showControl(RegistryList, false);
    ShowTab(FileTab);
}

void MorvaneDlg::ShowTab(int index)
{
    if (index != FileTab && index != RegistryTab)
        return;
    screen().showControl(FileList, index == FileTab);
    screen().showControl(RegistryList, index == RegistryTab);
}

void MorvaneDlg::OnPackageSelected()
{
    const std::string name = packageCombo.GetWindowText();
    screen().showControl(RestoreListButton, platform::pathExists(m_store.DefaultPackagePath(name)));
    LoadPackage(name);
}

void MorvaneDlg::LoadPackage(const std::string& name)
{
    EmptyLists();
    const std::string file = m_store.CurrentPackagePath(name);
    std::string text;
    for (int n = 0; m_store.ReadFileRule(n, file, text); ++n)
        AddFileRow(text);
    for (int n = 0; m_store.ReadRegistryRule(n, file, text); ++n)
        AddRegistryRow(text);
}

void MorvaneDlg::AddFileRow(const std::string& text)
{
    const int row = fileList.InsertItem(fileList.GetItemCount(), "");
    std::string field;
    fileList.SetItemText(row, FilesNumColumn, m_store.GetField(text, 0, ',', field));
    const bool recursive = std::strtol(m_store.GetField(text, 1, ',', field).c_str(), nullptr, 10) != 0;
    fileList.SetItemText(row, RecursiveColumn, recursive ? RecursiveShown : "");
    fileList.SetItemText(row, FolderColumn, m_store.GetField(text, 2, ',', field));
    fileList.SetItemText(row, FileFormatColumn, m_store.GetField(text, 3, ',', field));
}

void MorvaneDlg::AddRegistryRow(const std::string& path)
{
    const int row = registryList.InsertItem(registryList.GetItemCount(), path);
    registryList.SetItemColors(row, 0, path, Black, White);
}

bool MorvaneDlg::CheckPackageName(const std::string& name)
{
    if (!name.empty())
        return true;
    ShowError(InvalidPackageNameText);
    return false;
}

bool MorvaneDlg::CreatePackage(const std::string& name)
{
    const std::string file = m_store.CurrentPackagePath(name);
    if (platform::pathExists(file)) {
        ShowError(withArguments(PackageExistsText, {name}));
        return true;
    }
    if (!platform::replaceFile(file, {})) {
        ShowError(withArguments(PackageNotCreated, {name, file}));
        return false;
    }
    const std::string settings = m_store.CurrentSettingsPath();
    std::string selection;
    int count = 0;
    m_store.ReadSelection(settings, selection, count);
    platform::writeProfileString("SELECT PACKAGE", numberedKey(count, "Name"), name, settings);
    FillPackageCombo();
    return true;
}

void MorvaneDlg::AddOrUpdateRow(bool isNew, const std::string& filesNum, const std::string& folder,
                                const std::string& fileFormat, int recursive)
{
    const int tab = SelectedTab();
    ListCtrlPackage& list = tab == RegistryTab ? registryList : fileList;
    int row = SelectedRow();
    if (isNew) {
        if (IsDuplicateRow(folder, fileFormat))
            return;
        const int selected = row;
        row = list.InsertItem(list.GetItemCount(), "");
        // Appending a row leaves the selection where it was.
        screen().setControlValue(tab == RegistryTab ? RegistryList : FileList, selected);
    } else if (row < 0) {
        return;
    }
    morvane::GetSizeMorvaneLib(filesNum + "," + (recursive ? "1" : "0") + "," + folder + "," + fileFormat);
    if (tab == RegistryTab) {
        registryList.SetItemColors(row, 0, folder, Black, White);
    } else {
        fileList.SetItemText(row, FilesNumColumn, filesNum);
        fileList.SetItemText(row, RecursiveColumn, recursive ? RecursiveShown : "");
        fileList.SetItemText(row, FolderColumn, folder);
        fileList.SetItemText(row, FileFormatColumn, fileFormat);
    }
    SavePackageLists();
}

bool MorvaneDlg::IsDuplicateRow(const std::string& folder, const std::string& fileFormat) const
{
    const std::string wantedFolder = comparable(folder);
    if (SelectedTab() == RegistryTab) {
        for (int row = 0; row < registryList.GetItemCount(); ++row) {
            if (comparable(registryList.GetItemText(row, 0)) == wantedFolder)
                return true;
        }
        return false;
    }
    const std::string wantedFormat = comparable(fileFormat);
    for (int row = 0; row < fileList.GetItemCount(); ++row) {
        if (comparable(fileList.GetItemText(row, FolderColumn)) == wantedFolder &&
            comparable(fileList.GetItemText(row, FileFormatColumn)) == wantedFormat)
            return true;
    }
    return false;
}

bool MorvaneDlg::SavePackageLists()
{
    const std::string name = packageCombo.GetWindowText();
    const std::string file = m_store.CurrentPackagePath(name);
    // The layout of a package file: four empty lines, section FILES as the profile writer makes
    // it, three empty lines, then section REGISTRY. The whole file is written at once, so a
    // failed write leaves the previous one whole.
    std::string text = "\r\n\r\n\r\n\r\n";
    for (int row = 0; row < fileList.GetItemCount(); ++row) {
        const bool recursive = fileList.GetItemText(row, RecursiveColumn) == RecursiveShown;
        text = platform::withProfileValue(text, "FILES", numberedKey(row, "Filenum"),
                                          fileList.GetItemText(row, FilesNumColumn));
        text = platform::withProfileValue(text, "FILES", numberedKey(row, "Directory"),
                                          fileList.GetItemText(row, FolderColumn));
        text = platform::withProfileValue(text, "FILES", numberedKey(row, "FileFormat"),
                                          fileList.GetItemText(row, FileFormatColumn));
        text = platform::withProfileValue(text, "FILES", numberedKey(row, "Recursive"), recursive ? "1" : "0");
    }
    text += "\r\n\r\n\r\n[REGISTRY]\r\n";
    for (int row = 0; row < registryList.GetItemCount(); ++row)
        text = platform::withProfileValue(text, "REGISTRY", numberedKey(row, "HKEY"), registryList.GetItemText(row, 0));
    if (platform::replaceFile(file, text))
        return true;
    ShowError(withArguments(PackageNotWritten, {name, file}));
    return false;
}

void MorvaneDlg::OnNewPackage()
{
    std::string name = packageCombo.GetWindowText();
    NewPackage dialog(m_store, m_messages);
    if (screen().runModal(dialog) == IDOK && CreatePackage(dialog.resultName))
        name = dialog.resultName;
    packageCombo.SelectString(name);
    OnPackageSelected();
}

void MorvaneDlg::OnDeletePackage()
{
    WaitCursor wait(screen());
    const std::string name = packageCombo.GetWindowText();
    if (!CheckPackageName(name))
        return;
    const bool restorable = platform::pathExists(m_store.DefaultPackagePath(name));
    if (!Ask(withArguments(restorable ? ConfirmDeletePackage : ConfirmDeleteUnrestorable, {name})))
        return;
    m_store.RemoveFromSelection(name);
    m_store.DeleteCurrentPackage(name);
    EmptyLists();
    packageCombo.DeleteString(packageCombo.GetCurSel());
    packageCombo.SetCurSel(-1);
}

void MorvaneDlg::OnRestorePackages()
{
    const std::string previous = packageCombo.GetWindowText();
    ListPackage dialog(m_store, m_messages);
    dialog.selectMode = 0;
    screen().runModal(dialog);
    // Busy once the dialog has closed: the user works in it with the ordinary cursor.
    WaitCursor wait(screen());
    FillPackageCombo();
    // With no package shown before, none is shown after: every entry begins with the empty
    // text, and selecting one would show a package whose rules the lists do not hold.
    if (!previous.empty())
        packageCombo.SelectString(previous);
    LoadPackage(previous);
}

void MorvaneDlg::OnTemporaryPackage()
{
    if (!CreatePackage(TemporaryPackage))
        return;
    packageCombo.SelectString(TemporaryPackage);
    LoadPackage(TemporaryPackage);
    screen().showControl(RestoreListButton, false);
}

void MorvaneDlg::OnSelectPackages()
{
    selectionOpened = 1;
    ListPackage dialog(m_store, m_messages);
    dialog.selectMode = 1;
    screen().runModal(dialog);
}

void MorvaneDlg::OnAdd()
{
    const std::string name = packageCombo.GetWindowText();
    if (!CheckPackageName(name))
        return;
    AddUpdateLine dialog(m_store, m_messages);
    dialog.mode = SelectedTab();
    dialog.adding = 1;
    dialog.packageName = name;
    dialog.ruleIndex = -1;
    StoredRules(name, dialog.existingFileRules, dialog.existingRegistryRules);
    if (screen().runModal(dialog) != IDOK)
        return;
    const std::string& location = dialog.mode == RegistryTab ? dialog.registryPath : dialog.folder;
    if (location.empty())
        return;
    WaitCursor wait(screen());
    AddOrUpdateRow(true, dialog.numberOfFiles, location, dialog.fileFormat, dialog.recursive);
}

void MorvaneDlg::OnUpdate()
{
    const std::string name = packageCombo.GetWindowText();
    if (!CheckPackageName(name))
        return;
    const int tab = SelectedTab();
    const int row = SelectedRow();
    AddUpdateLine dialog(m_store, m_messages);
    if (tab == RegistryTab) {
        if (row < 0) {
            ShowError(NoRegistryToUpdate);
            return;
        }
        dialog.registryPath = registryList.GetItemText(row, 0);
    } else {
        if (row < 0) {
            ShowError(NoFileToUpdate);
            return;
        }
        dialog.numberOfFiles = fileList.GetItemText(row, FilesNumColumn);
        dialog.recursive = fileList.GetItemText(row, RecursiveColumn) == RecursiveShown ? 1 : 0;
        dialog.folder = fileList.GetItemText(row, FolderColumn);
        dialog.fileFormat = fileList.GetItemText(row, FileFormatColumn);
    }
    dialog.mode = tab;
    dialog.adding = 0;
    dialog.packageName = name;
    dialog.ruleIndex = row;
    StoredRules(name, dialog.existingFileRules, dialog.existingRegistryRules);
    if (screen().runModal(dialog) != IDOK)
        return;
    WaitCursor wait(screen());
    AddOrUpdateRow(false, dialog.numberOfFiles, tab == RegistryTab ? dialog.registryPath : dialog.folder,
                   dialog.fileFormat, dialog.recursive);
}

void MorvaneDlg::OnDelete()
{
    const std::string name = packageCombo.GetWindowText();
    if (!CheckPackageName(name))
        return;
    const int row = SelectedRow();
    if (SelectedTab() == RegistryTab) {
        if (row < 0) {
            ShowError(NoRegistryToDelete);
            return;
        }
        if (!Ask(withArguments(ConfirmDeleteRegistry, {registryList.GetItemText(row, 0), name})))
            return;
        registryList.DeleteItem(row);
        screen().setControlValue(RegistryList, -1);
    } else {
        if (row < 0) {
            ShowError(NoFileToDelete);
            return;
        }
        if (!Ask(withArguments(ConfirmDeleteFile, {fileList.GetItemText(row, FolderColumn),
                                                   fileList.GetItemText(row, FileFormatColumn), name})))
            return;
        fileList.DeleteItem(row);
        screen().setControlValue(FileList, -1);
    }
    WaitCursor wait(screen());
    SavePackageLists();
}

void MorvaneDlg::OnRestoreList()
{
    const std::string name = packageCombo.GetWindowText();
    if (!CheckPackageName(name))
        return;
    const int tab = SelectedTab();
    if (!Ask(withArguments(tab == RegistryTab ? ConfirmRestoreRegistry : ConfirmRestoreFiles, {name})))
        return;
    WaitCursor wait(screen());
    m_store.RestorePackageSection(name, tab);
    OnPackageSelected();
}

void MorvaneDlg::OnReset()
{
    m_store.RestoreAllDefaults();
    EmptyLists();
    FillPackageCombo();
}

int MorvaneDlg::SelectedTab() const
{
    return screen().controlValue(PackageTab) == RegistryTab ? RegistryTab : FileTab;
}

int MorvaneDlg::SelectedRow() const
{
    const bool registry = SelectedTab() == RegistryTab;
    const int row = screen().controlValue(registry ? RegistryList : FileList);
    const int rows = registry ? registryList.GetItemCount() : fileList.GetItemCount();
    return row >= 0 && row < rows ? row : -1;
}

void MorvaneDlg::EmptyLists()
{
    fileList.DeleteAllItems();
    registryList.DeleteAllItems();
    screen().setControlValue(FileList, -1);
    screen().setControlValue(RegistryList, -1);
}

void MorvaneDlg::StoredRules(const std::string& name, std::vector<FileRule>& fileRules,
                             std::vector<RegistryRule>& registryRules) const
{
    const std::string file = m_store.CurrentPackagePath(name);
    std::string text;
    std::string field;
    for (int n = 0; m_store.ReadFileRule(n, file, text); ++n) {
        FileRule rule;
        rule.Filenum = m_store.GetField(text, 0, ',', field);
        rule.Recursive = m_store.GetField(text, 1, ',', field);
        rule.Directory = m_store.GetField(text, 2, ',', field);
        rule.FileFormat = m_store.GetField(text, 3, ',', field);
        fileRules.push_back(rule);
    }
    for (int n = 0; m_store.ReadRegistryRule(n, file, text); ++n)
        registryRules.push_back({text});
}

void MorvaneDlg::ShowError(const std::string& text)
{
    ShowMessage(text, MB_ICONHAND, 0, 1);
}

bool MorvaneDlg::Ask(const std::string& question)
{
    return ShowMessage(question, MB_YESNO | MB_ICONQUESTION, 1, 1) == IDYES;
}
