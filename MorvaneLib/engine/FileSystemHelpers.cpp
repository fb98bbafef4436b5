#include "engine/FileSystemHelpers.h"

#include "platform/FileSystem.h"

#include <vector>

namespace {

std::string childPath(const std::string& folder, const std::string& name)
{
    if (!folder.empty() && folder.back() == '\\')
        return folder + name;
    return folder + "\\" + name;
}

bool isVisited(const platform::FolderEntry& entry)
{
    return !entry.name.empty() && entry.name.front() != '.';
}

// Creates the folder and each missing level above it, below its root (the text up to and
// including ":\", or else up to and including the first "\").
bool createFolderLevels(std::string folder)
{
    while (!folder.empty() && folder.back() == ' ')
        folder.pop_back();
    if (!folder.empty() && folder.back() == '\\')
        folder.pop_back();

    std::size_t levelStart = 0;
    if (const auto drive = folder.find(":\\"); drive != std::string::npos)
        levelStart = drive + 2;
    else if (const auto separator = folder.find('\\'); separator != std::string::npos)
        levelStart = separator + 1;

    while (levelStart < folder.size()) {
        auto levelEnd = folder.find('\\', levelStart);
        if (levelEnd == std::string::npos)
            levelEnd = folder.size();
        const std::string level = folder.substr(0, levelEnd);
        if (levelEnd > levelStart && !platform::isFolder(level) && !platform::createFolder(level)
            && !platform::isFolder(level))
            return false;
        levelStart = levelEnd + 1;
    }
    return true;
}

} // namespace

bool makeFolderPath(const std::string& path)
{
    if (platform::isFolder(path))
        return true;
    // Every prefix ending before a "\", then the whole path. A prefix that exists already (the
    // drive, ".") simply fails to be created.
    for (std::size_t separator = path.find('\\'); separator != std::string::npos;
         separator = path.find('\\', separator + 1)) {
        if (separator > 0)
            platform::createFolder(path.substr(0, separator));
    }
    platform::createFolder(path);
    return platform::isFolder(path);
}

bool copyFolderTree(const std::string& source, const std::string& target, bool recursive)
{
    if (!createFolderLevels(target))
        return false;
    if (!platform::pathExists(source))
        return false;

    std::vector<platform::FolderEntry> entries;
    if (!platform::listFolder(source, entries))
        return false;
    for (const auto& entry : entries) {
        if (!isVisited(entry))
            continue;
        const std::string from = childPath(source, entry.name);
        const std::string to = childPath(target, entry.name);
        switch (entry.info.kind) {
        case platform::EntryKind::Folder:
            if (recursive && !copyFolderTree(from, to, true))
                return false;
            break;
        case platform::EntryKind::RegularFile:
        case platform::EntryKind::LinkToRegularFile:
            if (!platform::copyFile(from, to))
                return false;
            break;
        case platform::EntryKind::Other:
            // Devices, pipes, sockets and links to folders hold nothing to copy and must not be
            // walked into (a link can lead back up the tree).
            break;
        }
    }
    return true;
}

bool copyFile(const std::string& source, const std::string& target)
{
    return platform::copyFile(source, target);
}

bool deleteFolderTree(const std::string& path)
{
    if (!platform::isFolder(path))
        return true;

    // A folder without write permission could not give up its entries.
    platform::setFileAttributes(path, FILE_ATTRIBUTE_ARCHIVE);
    std::vector<platform::FolderEntry> entries;
    platform::listFolder(path, entries);
    for (const auto& entry : entries) {
        if (!isVisited(entry))
            continue;
        const std::string child = childPath(path, entry.name);
        switch (entry.info.kind) {
        case platform::EntryKind::Folder:
            if (!deleteFolderTree(child))
                return false;
            break;
        case platform::EntryKind::RegularFile:
            platform::setFileAttributes(child, FILE_ATTRIBUTE_ARCHIVE);
            if (!platform::deleteFile(child))
                return false;
            break;
        case platform::EntryKind::LinkToRegularFile:
        case platform::EntryKind::Other:
            // Only the entry itself goes; whatever a link points at is left alone.
            if (!platform::deleteFile(child))
                return false;
            break;
        }
    }
    return platform::removeFolder(path);
}
