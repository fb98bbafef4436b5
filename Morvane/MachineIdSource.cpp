#include "MachineIdSource.h"

#include "BrowseReg.h"
#include "MessageText.h"

#include "platform/Profile.h"
#include "registry/TextEncoding.h"

namespace {

constexpr char Section[] = "CONFIGURATION";
constexpr char NoValue[] = "NULL";

} // namespace

MachineIdSource::MachineIdSource(PackageStore& store, MessageBoxService* messages) : m_store(store), m_messages(messages)
{
}

void MachineIdSource::ShowIdSource(IdSource source)
{
    screen().showControl(RegistryField, source == IdSource::RegistryEntry);
    screen().showControl(RegistryBrowseButton, source == IdSource::RegistryEntry);
    screen().showControl(UserDefined, source == IdSource::UserDefined);
    sourceComputerName = source == IdSource::ComputerName ? 1 : 0;
    sourceRegistryEntry = source == IdSource::RegistryEntry ? 1 : 0;
    sourceUserDefined = source == IdSource::UserDefined ? 1 : 0;
    UpdateData(false);
}

void MachineIdSource::OnSourceClicked(IdSource source)
{
    modified = 1;
    // What was typed so far stays: the fields take it before they are shown again.
    UpdateData(true);
    ShowIdSource(source);
}

void MachineIdSource::OnRegistryFieldChanged()
{
    modified = 1;
}

void MachineIdSource::OnUserDefinedChanged()
{
    LimitText(UserDefined, TextLimit);
    modified = 1;
    std::string offending;
    if (!m_store.CheckNameCharacters(screen().controlText(UserDefined), true, offending) && !offending.empty())
        Show(MessageKind::Error, withArguments(InvalidCharacterText, {offending}), MB_OK | MB_ICONERROR);
}

void MachineIdSource::OnBrowseRegistry()
{
    modified = 1;
    BrowseReg browser(m_store, m_messages, 1);
    if (screen().runModal(browser) == IDOK)
        screen().setControlText(RegistryField, browser.resultPath);
    UpdateData(true);
    ShowIdSource(IdSource::RegistryEntry);
}

void MachineIdSource::HideSourceFields()
{
    screen().showControl(RegistryField, false);
    screen().showControl(RegistryBrowseButton, false);
    screen().showControl(UserDefined, false);
}

bool MachineIdSource::AnySourceSelected() const
{
    return sourceComputerName || sourceRegistryEntry || sourceUserDefined;
}

void MachineIdSource::ReadSourceControls()
{
    registryField = screen().controlText(RegistryField);
    userDefined = screen().controlText(UserDefined);
    sourceComputerName = screen().controlValue(ComputerNameSource);
    sourceRegistryEntry = screen().controlValue(RegistryEntrySource);
    sourceUserDefined = screen().controlValue(UserDefinedSource);
}

void MachineIdSource::WriteSourceControls()
{
    screen().setControlText(RegistryField, registryField);
    screen().setControlValue(ComputerNameSource, sourceComputerName);
    screen().setControlValue(RegistryEntrySource, sourceRegistryEntry);
    screen().setControlValue(UserDefinedSource, sourceUserDefined);
    if (screen().controlText(UserDefined) != userDefined) {
        screen().setControlText(UserDefined, userDefined);
        OnUserDefinedChanged();
    }
}

bool MachineIdSource::CheckRegistryPath(std::string& path)
{
    registryField = screen().controlText(RegistryField);
    path = registryField;
    std::string data;
    std::string offending;
    if (registryField.find('\\') == std::string::npos || !m_store.ReadRegistryValue(path, data, true) ||
        !m_store.CheckNameCharacters(data, true, offending)) {
        Show(MessageKind::Error, InvalidRegistryPathText, MB_OK | MB_ICONERROR);
        return false;
    }
    return true;
}

bool MachineIdSource::CheckUserDefinedField()
{
    userDefined = screen().controlText(UserDefined);
    std::string offending;
    if (!m_store.CheckNameCharacters(userDefined, true, offending)) {
        Show(MessageKind::Error, InvalidUserDefinedText, MB_OK | MB_ICONERROR);
        return false;
    }
    return true;
}

bool MachineIdSource::CheckSourceAndSave()
{
    if (sourceRegistryEntry && !CheckRegistryField())
        return false;
    if (sourceUserDefined && !CheckUserDefinedField())
        return false;
    if (!Confirm(ConfirmSettingsChangeText))
        return false;
    if (!SaveSettings()) {
        Show(MessageKind::Error, withArguments(SettingsNotWrittenText, {m_store.CurrentSettingsPath()}), MB_OK | MB_ICONERROR);
        return false;
    }
    return true;
}

void MachineIdSource::ClearUnusedSources()
{
    if (registryField.empty() || !sourceRegistryEntry)
        registryField = NoValue;
    if (userDefined.empty() || !sourceUserDefined)
        userDefined = NoValue;
}

bool MachineIdSource::WriteSourceKeys(const std::string& settingsPath) const
{
    return platform::writeProfileString(Section, "Computer Name", sourceComputerName ? "1" : NoValue, settingsPath) &&
           platform::writeProfileString(Section, "Registry Field", registryField, settingsPath) &&
           platform::writeProfileString(Section, "User Defined", userDefined, settingsPath);
}

void MachineIdSource::LimitText(int control, std::size_t limit)
{
    const std::string text = screen().controlText(control);
    if (text.size() > limit)
        screen().setControlText(control, text.substr(0, registry::prefixWithoutSplit(text, limit)));
}

void MachineIdSource::Show(MessageKind kind, const std::string& text, unsigned int style)
{
    if (m_messages)
        m_messages->show(kind, text, style);
}

bool MachineIdSource::Confirm(const std::string& text)
{
    return m_messages && m_messages->show(MessageKind::Confirmation, text, MB_YESNO | MB_ICONEXCLAMATION) == IDYES;
}
