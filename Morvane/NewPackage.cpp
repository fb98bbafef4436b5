#include "NewPackage.h"

#include "MessageText.h"

#include "platform/FileSystem.h"

namespace {

} // namespace

NewPackage::NewPackage(PackageStore& store, MessageBoxService* messages) : m_store(store), m_messages(messages) {}

void NewPackage::OnInitDialog()
{
    screen().setTitle(Caption);
    screen().setControlText(PackageNameField, packageName);
}

void NewPackage::OnNameChanged()
{
    std::string offending;
    if (!m_store.CheckNameCharacters(screen().controlText(PackageNameField), true, offending) && !offending.empty())
        ShowError(withArguments(InvalidCharacterText, {offending}));
}

void NewPackage::OnOK()
{
    packageName = screen().controlText(PackageNameField);
    if (packageName.empty()) {
        ShowError(InvalidPackageNameText);
        return;
    }
    std::string offending;
    if (!m_store.CheckNameCharacters(packageName, true, offending)) {
        ShowError(withArguments(InvalidCharacterText, {offending}));
        return;
    }
    if (platform::pathExists(m_store.CurrentPackagePath(packageName))) {
        ShowError(withArguments(PackageExistsText, {packageName}));
        return;
    }
    resultName = packageName;
    screen().endDialog(IDOK);
}

void NewPackage::OnCancel()
{
    screen().endDialog(MessageAnswer(MessageButton::Cancel));
}

void NewPackage::ShowError(const std::string& text)
{
    if (m_messages)
        m_messages->show(MessageKind::Error, text, MB_OK | MB_ICONERROR);
}
