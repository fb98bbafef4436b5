#include "Advanced.h"

#include "FolderDialog.h"
#include "MessageText.h"

#include "platform/Profile.h"

namespace {

constexpr char Section[] = "CONFIGURATION";

constexpr char DefaultPassword[] = "zq";
constexpr char NoValue[] = "NULL";
constexpr char ReportsFolder[] = "\\BugReports";
constexpr char FolderTitle[] = "Select Folder to Zip Files";
constexpr std::size_t PathLimit = 260;

bool isBlank(const std::string& text)
{
    return text.find_first_not_of(" \t") == std::string::npos;
}

} // namespace

Advanced::Advanced(PackageStore& store, MessageBoxService* messages) : MachineIdSource(store, messages) {}

void Advanced::OnInitDialog()
{
    screen().setTitle(Caption);
    HideSourceFields();
    LoadSettings();
    modified = 0;
}

void Advanced::LoadSettings()
{
    m_store.CurrentSettingsPath(m_settingsPath);
    auto read = [this](const char* key) {
        std::string value;
        m_store.ReadSetting(m_settingsPath, key, value);
        return value;
    };

    // Settings without an FTP target load the rest all the same: a save writes every field back,
    // and fields left empty would wipe the output folder and the machine-ID source.
    ftpServer = read("FTP Path");
    if (ftpServer.empty())
        ftpServer = read("FTP Server");
    localFolder = read("Local Directory");
    performFtp = read("Perform FTP") == "1" ? 1 : 0;
    passwordEnable = read("Password Enable") == "1" ? 1 : 0;
    ShowPasswordControls();
    zipPassword = read("Password Value");
    if (zipPassword.empty())
        zipPassword = DefaultPassword;
    passwordMirror = zipPassword;
    if (read("Computer Name") == "1")
        ShowIdSource(IdSource::ComputerName);
    if (const std::string value = read("Registry Field"); value != NoValue) {
        registryField = value;
        ShowIdSource(IdSource::RegistryEntry);
    }
    if (const std::string value = read("User Defined"); value != NoValue) {
        userDefined = value;
        ShowIdSource(IdSource::UserDefined);
    }
    UpdateData(false);
}

void Advanced::ShowPasswordControls()
{
    screen().showControl(ZipPassword, passwordEnable != 0);
    screen().showControl(PasswordMirror, passwordEnable == 0);
}

void Advanced::UpdateData(bool save)
{
    if (save) {
        ftpServer = screen().controlText(FtpServer);
        localFolder = screen().controlText(LocalFolder);
        zipPassword = screen().controlText(ZipPassword);
        passwordMirror = screen().controlText(PasswordMirror);
        performFtp = screen().controlValue(PerformFtp);
        passwordEnable = screen().controlValue(PasswordEnable);
        ReadSourceControls();
        return;
    }
    screen().setControlText(FtpServer, ftpServer);
    screen().setControlText(LocalFolder, localFolder);
    screen().setControlText(ZipPassword, zipPassword);
    screen().setControlText(PasswordMirror, passwordMirror);
    screen().setControlValue(PerformFtp, performFtp);
    screen().setControlValue(PasswordEnable, passwordEnable);
    WriteSourceControls();
}

void Advanced::OnPerformFtpClicked()
{
    modified = 1;
    performFtp = screen().controlValue(PerformFtp);
}

void Advanced::OnPasswordEnableClicked()
{
    modified = 1;
    UpdateData(true);
    passwordMirror = zipPassword;
    ShowPasswordControls();
    UpdateData(false);
}

void Advanced::OnPasswordChanged()
{
    LimitText(ZipPassword, TextLimit);
    modified = 1;
}

void Advanced::OnBrowseLocalFolder()
{
    CFolderDialog picker(FolderTitle, screen().controlText(LocalFolder), BIF_RETURNONLYFSDIRS | FD_NON_ROOT);
    if (screen().runModal(picker) == IDOK) {
        std::string folder = picker.selectedFolder();
        if (!folder.ends_with(ReportsFolder))
            folder += ReportsFolder;
        folder += "\\";
        if (folder.size() > PathLimit)
            Show(MessageKind::Information, PathTooLongText, MB_OK | MB_ICONINFORMATION);
        else
            screen().setControlText(LocalFolder, folder);
    }
    modified = 1;
}

bool Advanced::ValidateSettings()
{
    UpdateData(true);
    // The settings file keeps no blanks around a value, so a password of blanks is none.
    if (passwordEnable && isBlank(zipPassword)) {
        Show(MessageKind::Error, MissingPasswordText, MB_OK | MB_ICONERROR);
        return false;
    }
    if (!AnySourceSelected())
        return Confirm(NoMachineIdText);
    if (!modified)
        return true;
    return CheckSourceAndSave();
}

// The path is stored as the registry check rewrote it.
bool Advanced::CheckRegistryField()
{
    std::string path;
    if (!CheckRegistryPath(path))
        return false;
    registryField = path;
    screen().setControlText(RegistryField, registryField);
    UpdateData(false);
    return true;
}

bool Advanced::SaveSettings()
{
    UpdateData(true);
    m_store.CurrentSettingsPath(m_settingsPath);
    std::string ftpPath;
    m_store.ReadSetting(m_settingsPath, "FTP Path", ftpPath);
    if (!WriteSetting(ftpPath.empty() ? "FTP Server" : "FTP Path", ftpServer))
        return false;
    ClearUnusedSources();
    const bool written = WriteSetting("Local Directory", localFolder) &&
                         WriteSetting("Perform FTP", performFtp ? "1" : "0") &&
                         WriteSetting("Password Enable", passwordEnable ? "1" : "0") &&
                         WriteSetting("Password Value", zipPassword) && WriteSourceKeys(m_settingsPath);
    UpdateData(false);
    return written;
}

bool Advanced::WriteSetting(const std::string& key, const std::string& value)
{
    return platform::writeProfileString(Section, key, value, m_settingsPath);
}

void Advanced::OnOK()
{
    if (ValidateSettings())
        screen().endDialog(IDOK);
}

void Advanced::OnCancel()
{
    screen().endDialog(MessageAnswer(MessageButton::Cancel));
}

void Advanced::OnClose()
{
    if (ValidateSettings())
        screen().endDialog(MessageAnswer(MessageButton::Cancel));
}
