#include "MachineId.h"

#include "MessageText.h"

namespace {

constexpr char IdRequired[] = "A unique machine ID is required.";                                          // 24
constexpr char SettingChanged[] = "Setting has been changed";                                             // 1108

} // namespace

MachineId::MachineId(PackageStore& store, MessageBoxService* messages) : MachineIdSource(store, messages) {}

void MachineId::OnInitDialog()
{
    screen().setTitle(Caption);
    HideSourceFields();
    UpdateData(false);
    modified = 0;
}

void MachineId::UpdateData(bool save)
{
    if (save)
        ReadSourceControls();
    else
        WriteSourceControls();
}

bool MachineId::ValidateAndSave()
{
    if (!AnySourceSelected()) {
        Show(MessageKind::Error, IdRequired, MB_OK | MB_ICONERROR);
        m_store.AppendLogLine(SettingChanged, false);
        return false;
    }
    UpdateData(true);
    return CheckSourceAndSave();
}

// The path is checked as the Settings dialog checks it, but kept as typed.
bool MachineId::CheckRegistryField()
{
    std::string rewritten;
    return CheckRegistryPath(rewritten);
}

bool MachineId::SaveSettings()
{
    UpdateData(true);
    ClearUnusedSources();
    const bool written = WriteSourceKeys(m_store.CurrentSettingsPath());
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
