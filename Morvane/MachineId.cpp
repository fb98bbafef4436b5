#include "MachineId.h"

#include "BrowseReg.h"
#include "MessageText.h"

#include "platform/Profile.h"
#include "registry/TextEncoding.h"

namespace {

constexpr char Section[] = "CONFIGURATION";

constexpr char IdRequired[] = "A unique machine ID is required.";                                          // 24
constexpr char SettingChanged[] = "Setting has been changed";                                             // 1108

constexpr char NoValue[] = "NULL";

} // namespace

MachineId::MachineId(PackageStore& store, MessageBoxService* messages) : m_store(store), m_messages(messages) {}

void MachineId::OnInitDialog()
{
    screen().setTitle(Caption);
    screen().showControl(RegistryField, false);
    screen().showControl(RegistryBrowseButton, false);
    screen().showControl(UserDefined, false);
    UpdateData(false);
    modified = 0;
}

void MachineId::ShowIdSource(IdSource source)
{
    screen().showControl(RegistryField, source == IdSource::RegistryValue);
    screen().showControl(RegistryBrowseButton, source == IdSource::RegistryValue);
    screen().showControl(UserDefined, source == IdSource::UserDefined);
    sourceComputerName = source == IdSource::ComputerName ? 1 : 0;
    sourceRegistryValue = source == IdSource::RegistryValue ? 1 : 0;
    sourceUserDefined = source == IdSource::UserDefined ? 1 : 0;
    UpdateData(false);
}

void MachineId::UpdateData(bool save)
{
    if (save) {
        registryField = screen().controlText(RegistryField);
        userDefined = screen().controlText(UserDefined);
        sourceComputerName = screen().controlValue(ComputerNameSource);
        sourceRegistryValue = screen().controlValue(RegistryValueSource);
        sourceUserDefined = screen().controlValue(UserDefinedSource);
        return;
    }
    screen().setControlText(RegistryField, registryField);
    screen().setControlValue(ComputerNameSource, sourceComputerName);
    screen().setControlValue(RegistryValueSource, sourceRegistryValue);
    screen().setControlValue(UserDefinedSource, sourceUserDefined);
    if (screen().controlText(UserDefined) != userDefined) {
        screen().setControlText(UserDefined, userDefined);
        OnUserDefinedChanged();
    }
}

void MachineId::OnSourceClicked(IdSource source)
{
    modified = 1;
    // What was typed so far stays: the fields take it before they are shown again.
    UpdateData(true);
    ShowIdSource(source);
}

void MachineId::OnRegistryFieldChanged()
{
    modified = 1;
}

void MachineId::OnUserDefinedChanged()
{
    const std::string text = screen().controlText(UserDefined);
    if (text.size() > TextLimit)
        screen().setControlText(UserDefined, text.substr(0, registry::prefixWithoutSplit(text, TextLimit)));
    modified = 1;
    std::string offending;
    if (!m_store.CheckNameCharacters(screen().controlText(UserDefined), true, offending) && !offending.empty())
        Show(MessageKind::Error, withArguments(InvalidCharacterText, {offending}), MB_OK | MB_ICONERROR);
}

void MachineId::OnBrowseRegistry()
{
    modified = 1;
    BrowseReg browser(m_store, m_messages, 1);
    if (screen().runModal(browser) == IDOK)
        screen().setControlText(RegistryField, browser.resultPath);
    UpdateData(true);
    ShowIdSource(IdSource::RegistryValue);
}

bool MachineId::ValidateAndSave()
{
    if (!sourceComputerName && !sourceRegistryValue && !sourceUserDefined) {
        Show(MessageKind::Error, IdRequired, MB_OK | MB_ICONERROR);
        m_store.AppendLogLine(SettingChanged, false);
        return false;
    }
    UpdateData(true);
    if (sourceRegistryValue && !CheckRegistryField())
        return false;
    if (sourceUserDefined) {
        userDefined = screen().controlText(UserDefined);
        std::string offending;
        if (!m_store.CheckNameCharacters(userDefined, true, offending)) {
            Show(MessageKind::Error, InvalidUserDefinedText, MB_OK | MB_ICONERROR);
            return false;
        }
    }
    if (!Confirm(ConfirmSettingsChangeText))
        return false;
    if (!SaveSettings()) {
        Show(MessageKind::Error, withArguments(SettingsNotWrittenText, {m_store.CurrentSettingsPath()}), MB_OK | MB_ICONERROR);
        return false;
    }
    return true;
}

// The path is checked as the Settings dialog checks it, but kept as typed.
bool MachineId::CheckRegistryField()
{
    registryField = screen().controlText(RegistryField);
    std::string path = registryField;
    std::string data;
    std::string offending;
    if (registryField.find('\\') == std::string::npos || !m_store.ReadRegistryValue(path, data, true) ||
        !m_store.CheckNameCharacters(data, true, offending)) {
        Show(MessageKind::Error, InvalidRegistryPathText, MB_OK | MB_ICONERROR);
        return false;
    }
    return true;
}

bool MachineId::SaveSettings()
{
    UpdateData(true);
    const std::string settingsPath = m_store.CurrentSettingsPath();
    if (registryField.empty() || !sourceRegistryValue)
        registryField = NoValue;
    if (userDefined.empty() || !sourceUserDefined)
        userDefined = NoValue;
    const bool written =
        platform::writeProfileString(Section, "Computer Name", sourceComputerName ? "1" : NoValue, settingsPath) &&
        platform::writeProfileString(Section, "Registry Field", registryField, settingsPath) &&
        platform::writeProfileString(Section, "User Defined", userDefined, settingsPath);
    UpdateData(false);
    return written;
}

void MachineId::OnOK()
{
    if (ValidateAndSave())
        screen().endDialog(IDOK);
}

void MachineId::OnCancel()
{
    if (Confirm(NoMachineIdText))
        screen().endDialog(MessageAnswer(MessageButton::Cancel));
}

void MachineId::OnClose()
{
    if (ValidateAndSave())
        OnCancel();
}

void MachineId::Show(MessageKind kind, const std::string& text, unsigned int style)
{
    if (m_messages)
        m_messages->show(kind, text, style);
}

bool MachineId::Confirm(const std::string& text)
{
    return m_messages && m_messages->show(MessageKind::Confirmation, text, MB_YESNO | MB_ICONEXCLAMATION) == IDYES;
}
