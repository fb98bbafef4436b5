#include "AddUpdateLine.h"

#include "BrowseReg.h"
#include "FolderDialog.h"
#include "MessageText.h"

#include "registry/TextEncoding.h"

#include <array>

namespace {

constexpr char InvalidFileFormat[] = "Missing or invalid value in the File Format field.";        // 5
constexpr char InvalidFolder[] = "Missing or invalid value in the Folder field.";                 // 6
constexpr char InvalidNumberOfFiles[] = "Missing or invalid value in the Number of Files field."; // 7
constexpr char InvalidRegistryPath[] = "Missing or invalid value in the Registry Path.";          // 34
constexpr char FileRuleExists[] = "New file already exists in package '%s'";                       // 1088
constexpr char RegistryRuleExists[] = "Registry path already exists in package '%s'";             // 1089

// Titles 15 to 18, by mode and by adding or updating.
constexpr std::array<std::array<const char*, 2>, 2> Titles = {{
    {"Update File", "Add File"},
    {"Update Registry Path", "Add Registry Path"},
}};

constexpr char FolderTitle[] = "Select Folder to Gather Files";
constexpr std::size_t PathLimit = 260;

constexpr std::array<int, 10> FileModeControls = {
    AddUpdateLine::FolderLabel,        AddUpdateLine::FolderField,       AddUpdateLine::FolderButton,
    AddUpdateLine::FileFormatLabel,    AddUpdateLine::FileFormatField,   AddUpdateLine::NumberOfFilesLabel,
    AddUpdateLine::NumberOfFilesList,  AddUpdateLine::RecursiveCheck,    AddUpdateLine::OkButton,
    AddUpdateLine::CancelButton,
};
constexpr std::array<int, 5> RegistryModeControls = {
    AddUpdateLine::RegistryPathLabel,  AddUpdateLine::RegistryPathField, AddUpdateLine::RegistryBrowseButton,
    AddUpdateLine::RegistryOkButton,   AddUpdateLine::RegistryCancelButton,
};

void removeAll(std::string& text, const std::string& part)
{
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at))
        text.erase(at, part.size());
}

std::string lowerCased(std::string text)
{
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

std::string trimmed(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// A registry rule as the duplicate check compares it.
std::string comparableKeyPath(const std::string& path)
{
    std::string text = lowerCased(path);
    if (!text.ends_with('\\'))
        text += '\\';
    return text;
}

// The list position of a number of files ("1" is 0); -1 for a text that is no number in 1 to 24.
int numberPosition(const std::string& number)
{
    const std::string digits = trimmed(number);
    if (digits.empty() || digits.size() > 2 || digits.find_first_not_of("0123456789") != std::string::npos)
        return -1;
    const int value = std::stoi(digits);
    return value >= 1 && value <= AddUpdateLine::MaximumNumberOfFiles ? value - 1 : -1;
}

} // namespace

std::vector<std::string> AddUpdateLine::NumberOfFilesItems()
{
    std::vector<std::string> items;
    for (int number = 1; number <= MaximumNumberOfFiles; ++number)
        items.push_back(std::to_string(number));
    return items;
}

AddUpdateLine::AddUpdateLine(PackageStore& store, MessageBoxService* messages) : m_store(store), m_messages(messages)
{
}

void AddUpdateLine::OnInitDialog()
{
    const bool fileMode = mode == FileRuleMode;
    for (int control : FileModeControls)
        screen().showControl(control, fileMode);
    for (int control : RegistryModeControls)
        screen().showControl(control, !fileMode);
    screen().showControl(FileFormatButton, false);
    screen().resize(Width, fileMode ? FileModeHeight : RegistryModeHeight);
    screen().centreOnScreen();
    screen().setTitle(Titles[fileMode ? 0 : 1][adding ? 1 : 0]);
    if (fileMode) {
        m_initialFileFormat = fileFormat;
        m_initialFolder = folder;
    }
    UpdateData(false);
    if (adding)
        SelectNumberOfFiles(0);
}

void AddUpdateLine::UpdateData(bool save)
{
    if (save) {
        fileFormat = screen().controlText(FileFormatField);
        const int position = screen().controlValue(NumberOfFilesList);
        numberOfFiles = position >= 0 && position < MaximumNumberOfFiles ? std::to_string(position + 1) : "";
        folder = screen().controlText(FolderField);
        recursive = screen().controlValue(RecursiveCheck) ? 1 : 0;
        registryPath = screen().controlText(RegistryPathField);
        return;
    }
    screen().setControlText(FileFormatField, fileFormat);
    screen().setControlValue(NumberOfFilesList, numberPosition(numberOfFiles));
    screen().setControlText(FolderField, folder);
    screen().setControlValue(RecursiveCheck, recursive);
    screen().setControlText(RegistryPathField, registryPath);
}

void AddUpdateLine::SelectNumberOfFiles(int position)
{
    screen().setControlValue(NumberOfFilesList, position);
    numberOfFiles = std::to_string(position + 1);
}

void AddUpdateLine::OnFileFormatChanged()
{
    const std::string typed = screen().controlText(FileFormatField);
    if (typed.size() > FileFormatLimit)
        screen().setControlText(FileFormatField, typed.substr(0, registry::prefixWithoutSplit(typed, FileFormatLimit)));
    UpdateData(true);
    if (fileFormat.find('*') == std::string::npos || fileFormat == "*.*")
        SelectNumberOfFiles(0);
    std::string offending;
    if (!m_store.CheckNameCharacters(fileFormat, false, offending) && !offending.empty())
        ShowError(withArguments(InvalidCharacterText, {offending}));
}

void AddUpdateLine::OnBrowseFolder()
{
    CFolderDialog picker(FolderTitle, screen().controlText(FolderField), BIF_RETURNONLYFSDIRS | FD_NON_ROOT);
    if (screen().runModal(picker) != IDOK)
        return;
    const std::string chosen = picker.selectedFolder() + "\\";
    if (chosen.size() > PathLimit) {
        ShowError(PathTooLongText);
        return;
    }
    folder = chosen;
    screen().setControlText(FolderField, folder);
}

void AddUpdateLine::OnBrowseRegistry()
{
    BrowseReg browser(m_store, m_messages, 0);
    if (screen().runModal(browser) != IDOK)
        return;
    screen().setControlText(RegistryPathField, browser.resultPath);
    UpdateData(true);
}

void AddUpdateLine::OnOK()
{
    if (mode == FileRuleMode ? ValidateFileRule() : ValidateRegistryRule())
        screen().endDialog(IDOK);
}

void AddUpdateLine::OnCancel()
{
    screen().endDialog(MessageAnswer(MessageButton::Cancel));
}

bool AddUpdateLine::ValidateFileRule()
{
    UpdateData(true);
    if (fileFormat.empty()) {
        ShowError(InvalidFileFormat);
        return false;
    }
    std::string offending;
    if (!m_store.CheckNameCharacters(fileFormat, false, offending)) {
        ShowError(withArguments(InvalidCharacterText, {offending}));
        return false;
    }
    if (fileFormat.size() >= FileFormatLimit) {
        ShowError(InvalidFileFormat);
        fileFormat.clear();
        screen().setControlText(FileFormatField, fileFormat);
        return false;
    }
    if (folder.find(":\\") == std::string::npos) {
        ShowError(InvalidFolder);
        return false;
    }
    if (trimmed(numberOfFiles).empty()) {
        ShowError(InvalidNumberOfFiles);
        SelectNumberOfFiles(0);
        return false;
    }
    const std::string candidate = lowerCased(folder + "," + fileFormat);
    for (std::size_t i = 0; i < existingFileRules.size(); ++i) {
        const FileRule& rule = existingFileRules[i];
        if (lowerCased(rule.Directory + "," + rule.FileFormat) != candidate || static_cast<int>(i) == ruleIndex)
            continue;
        // A rule that already held these very values may keep them.
        if (fileFormat == m_initialFileFormat && folder == m_initialFolder)
            return true;
        std::string message = FileRuleExists;
        removeAll(message, "New ");
        ShowError(withArguments(message, {packageName}));
        return false;
    }
    return true;
}

bool AddUpdateLine::ValidateRegistryRule()
{
    UpdateData(true);
    if (registryPath.find('\\') == std::string::npos) {
        ShowError(InvalidRegistryPath);
        return false;
    }
    std::string path = registryPath;
    std::string unused;
    if (!m_store.CheckRegistryPath(path) || !m_store.ReadRegistryValue(path, unused, false)) {
        ShowError(InvalidRegistryPath);
        return false;
    }
    screen().setControlText(RegistryPathField, path);
    UpdateData(true);
    const std::string candidate = comparableKeyPath(registryPath);
    for (std::size_t i = 0; i < existingRegistryRules.size(); ++i) {
        if (comparableKeyPath(existingRegistryRules[i].KeyPath) == candidate && static_cast<int>(i) != ruleIndex) {
            ShowError(withArguments(RegistryRuleExists, {packageName}));
            return false;
        }
    }
    return true;
}

void AddUpdateLine::ShowError(const std::string& text)
{
    if (m_messages)
        m_messages->show(MessageKind::Error, text, MB_OK | MB_ICONERROR);
}
