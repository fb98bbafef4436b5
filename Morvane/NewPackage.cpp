#include "NewPackage.h"

#include "platform/FileSystem.h"

namespace {

constexpr char InvalidPackageName[] = "Missing or invalid value in the Package Name field."; // 11
constexpr char PackageExists[] = "Package '%s' already exists.";                             // 12
constexpr char InvalidCharacter[] = "Invalid character '%s' in File Format field.";           // 1103

std::string withArgument(std::string text, const std::string& argument)
{
    const std::size_t at = text.find("%s");
    if (at != std::string::npos)
        text.replace(at, 2, argument);
    return text;
}

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
        ShowError(withArgument(InvalidCharacter, offending));
}

void NewPackage::OnOK()
{
    packageName = screen().controlText(PackageNameField);
    if (packageName.empty()) {
        ShowError(InvalidPackageName);
        return;
    }
    std::string offending;
    if (!m_store.CheckNameCharacters(packageName, true, offending)) {
        ShowError(withArgument(InvalidCharacter, offending));
        return;
    }
    if (platform::pathExists(m_store.CurrentPackagePath(packageName))) {
        ShowError(withArgument(PackageExists, packageName));
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
