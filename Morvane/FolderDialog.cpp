#include "FolderDialog.h"

#include "driveinfo.h"

#include "platform/FileSystem.h"
#include "platform/MessageBox.h"
#include "platform/Path.h"

#include <cstdint>

namespace {

std::string upperCased(std::string text)
{
    for (char& c : text) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

// The folder in the system's form; empty when it has none.
std::string windowsForm(const std::string& folder)
{
    std::string path;
    if (folder.empty() || !platform::toWindowsPath(folder, path))
        return {};
    return path;
}

} // namespace

CFolderDialog::CFolderDialog(const std::string& title, const std::string& initialFolder, unsigned int flags)
    : m_title(title), m_initialFolder(initialFolder), m_flags(flags)
{
}

void CFolderDialog::OnInitialized()
{
    screen().setTitle(m_title);
    std::string folder;
    if (!m_initialFolder.empty() && platform::toLinuxPath(m_initialFolder, folder))
        screen().setControlText(FolderTree, folder);
}

void CFolderDialog::OnSelChanged(const std::string& folder)
{
    const std::string path = upperCased(windowsForm(folder));
    std::uint32_t attributes = 0;
    bool allowed = !path.empty() && platform::getFileAttributes(path, attributes);
    std::string status = allowed ? "" : InvalidFolderText;
    if (allowed && (m_flags & FD_LOCAL_DRIVE)) {
        allowed = !driveinfo::IsNetworkPath(path);
        status = allowed ? "" : LocalDriveText;
    }
    if (allowed && (m_flags & FD_FIXED_DRIVE)) {
        allowed = driveinfo::IsFixedDrivePath(path);
        status = allowed ? "" : FixedDriveText;
    }
    if (allowed && (m_flags & FD_WRITABLE)) {
        allowed = !driveinfo::IsReadOnlyPath(path);
        status = allowed ? "" : WritableText;
    }
    if (allowed && (m_flags & FD_NON_ROOT)) {
        allowed = path.size() > 3;
        status = allowed ? "" : NonRootText;
    }
    screen().enableControl(OkButton, allowed);
    screen().setControlText(StatusText, status);
}

int CFolderDialog::OnChosen(const std::string& folder)
{
    const std::string path = windowsForm(folder);
    if (path.empty())
        return NoPath;
    m_selectedFolder = path;
    return IDOK;
}
