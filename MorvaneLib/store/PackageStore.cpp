#include "store/PackageStore.h"

#include "platform/FileSystem.h"
#include "platform/Profile.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr const char* DefaultSettingsName = "Morvane.ini";
constexpr const char* CurrentSettingsName = "Current_Morvane.ini";

std::string lowered(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool startsWith(const std::string& text, const std::string& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

bool endsWith(const std::string& text, const std::string& suffix)
{
    return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::string trimmed(const std::string& text)
{
    const char* blanks = " \t\r\n";
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

std::string storePath(const std::string& name)
{
    return std::string(PackageStore::StoreFolder) + name;
}

std::string numberedKey(int number, const char* name)
{
    return std::to_string(number) + ")" + name;
}

std::string readValue(const char* section, const std::string& key, const std::string& file, std::size_t size)
{
    std::string value;
    platform::readProfileString(section, key, file, value, size);
    return value;
}

// The files of the store folder (folders are never store files); false when it cannot be listed.
bool storeFiles(std::vector<std::string>& names)
{
    std::vector<platform::FolderEntry> entries;
    if (!platform::listFolder(PackageStore::StoreFolder, entries))
        return false;
    names.clear();
    for (const platform::FolderEntry& entry : entries) {
        if (entry.info.kind != platform::EntryKind::Folder)
            names.push_back(entry.name);
    }
    return true;
}

bool isIniNamed(const std::string& name, const std::string& lowerPrefix)
{
    const std::string lower = lowered(name);
    return startsWith(lower, lowerPrefix) && endsWith(lower, ".ini");
}

bool isCurrentPackageFile(const std::string& name)
{
    return isIniNamed(name, "current_package_");
}

// The names of the current packages in listing order. A name that could not be told apart in
// a star list (or that no package could have) is no package.
bool currentPackageNames(const PackageStore& store, std::vector<std::string>& packages)
{
    std::vector<std::string> names;
    if (!storeFiles(names))
        return false;
    packages.clear();
    for (const std::string& name : names) {
        if (!isCurrentPackageFile(name))
            continue;
        const std::string package = name.substr(16, name.size() - 16 - 4);
        std::string offending;
        if (store.CheckNameCharacters(package, true, offending))
            packages.push_back(package);
    }
    return true;
}

} // namespace

std::string PackageStore::CurrentSettingsPath(std::string& path) const
{
    path = storePath(CurrentSettingsName);
    return path;
}

std::string PackageStore::CurrentSettingsPath() const
{
    return storePath(CurrentSettingsName);
}

std::string PackageStore::DefaultPackagePath(const std::string& name) const
{
    return storePath("package_" + name + ".ini");
}

std::string PackageStore::CurrentPackagePath(const std::string& name) const
{
    return storePath("Current_Package_" + name + ".ini");
}

bool PackageStore::ReadSetting(const std::string& file, const std::string& key, std::string& value) const
{
    value.clear();
    value = readValue("CONFIGURATION", key, file, 4000);
    return !value.empty();
}

bool PackageStore::ReadFileRule(int number, const std::string& file, std::string& text) const
{
    const std::string filenum = readValue("FILES", numberedKey(number, "Filenum"), file, 4);
    if (filenum.empty())
        return false;
    const std::string recursive = readValue("FILES", numberedKey(number, "Recursive"), file, 2);
    const std::string directory = readValue("FILES", numberedKey(number, "Directory"), file, 2000);
    const std::string format = readValue("FILES", numberedKey(number, "FileFormat"), file, 60);
    text = filenum + "," + recursive + "," + directory + "," + format;
    return true;
}

bool PackageStore::ReadFileRuleLocation(int number, const std::string& file, std::string& text) const
{
    if (readValue("FILES", numberedKey(number, "Filenum"), file, 4).empty())
        return false;
    const std::string directory = readValue("FILES", numberedKey(number, "Directory"), file, 2000);
    const std::string format = readValue("FILES", numberedKey(number, "FileFormat"), file, 60);
    text = directory + "," + format;
    return true;
}

bool PackageStore::ReadRegistryRule(int number, const std::string& file, std::string& keyPath) const
{
    std::string value = readValue("REGISTRY", numberedKey(number, "HKEY"), file, 1000);
    if (value.empty())
        return false;
    keyPath = std::move(value);
    return true;
}

bool PackageStore::ReadSelectionEntry(int number, const std::string& file, std::string& name) const
{
    const std::string value = readValue("SELECT PACKAGE", numberedKey(number, "Name"), file, 120);
    if (value.empty())
        return false;
    name = value + "*";
    return true;
}

bool PackageStore::ReadSelection(const std::string& file, std::string& list, int& count) const
{
    std::string entries;
    std::string entry;
    count = 0;
    while (ReadSelectionEntry(count, file, entry)) {
        entries += entry;
        ++count;
    }
    if (count > 0)
        list = std::move(entries);
    return true;
}

int PackageStore::ListCurrentPackages(std::string& list) const
{
    std::vector<std::string> packages;
    if (!currentPackageNames(*this, packages) || packages.empty())
        return 0;
    std::string joined;
    for (const std::string& package : packages)
        joined += package + "*";
    list = std::move(joined);
    return static_cast<int>(packages.size());
}

int PackageStore::ListCurrentPackageNames(std::string& list) const
{
    std::vector<std::string> packages;
    if (!currentPackageNames(*this, packages))
        return 0;
    std::string joined;
    for (const std::string& package : packages)
        joined += (joined.empty() ? "" : ",") + package;
    list = std::move(joined);
    return static_cast<int>(packages.size());
}

void PackageStore::PrepareCurrentCopies() const
{
    std::vector<std::string> names;
    if (!storeFiles(names))
        return;
    if (platform::pathExists(CurrentSettingsPath())) {
        for (const std::string& name : names) {
            if (isIniNamed(name, "current_"))
                platform::setFileAttributes(storePath(name), FILE_ATTRIBUTE_NORMAL);
        }
        return;
    }
    if (platform::copyFile(storePath(DefaultSettingsName), CurrentSettingsPath()))
        platform::setFileAttributes(CurrentSettingsPath(), FILE_ATTRIBUTE_NORMAL);
    for (const std::string& name : names) {
        if (!isIniNamed(name, "package_"))
            continue;
        const std::string copy = storePath("Current_" + name);
        if (platform::copyFile(storePath(name), copy))
            platform::setFileAttributes(copy, FILE_ATTRIBUTE_NORMAL);
    }
}

void PackageStore::RestoreAllDefaults() const
{
    std::vector<std::string> names;
    if (!storeFiles(names))
        return;
    for (const std::string& name : names) {
        if (isCurrentPackageFile(name))
            platform::deleteFile(storePath(name));
    }
    for (const std::string& name : names) {
        if (isIniNamed(name, "package_"))
            platform::copyFile(storePath(name), storePath("Current_" + name));
    }
    platform::copyFile(storePath(DefaultSettingsName), CurrentSettingsPath());
}

void PackageStore::SplitAtMarker(const std::string& file, const std::string& marker, std::string& before,
                                 std::string& after) const
{
    std::string text;
    if (!platform::readFile(file, text) || text.empty())
        return;
    const auto found = text.find(marker);
    if (found == std::string::npos) {
        before = std::move(text);
        return;
    }
    before = text.substr(0, found);
    after = text.substr(found);
}

void PackageStore::RestorePackageSection(const std::string& name, int which) const
{
    if (name.empty() || (which != 0 && which != 1))
        return;
    std::string currentFiles, currentRegistry, defaultFiles, defaultRegistry;
    SplitAtMarker(CurrentPackagePath(name), "[REGISTRY]", currentFiles, currentRegistry);
    SplitAtMarker(DefaultPackagePath(name), "[REGISTRY]", defaultFiles, defaultRegistry);
    const std::string content = which == 0 ? trimmed(defaultFiles) + "\n" + trimmed(currentRegistry)
                                           : trimmed(currentFiles) + "\n" + trimmed(defaultRegistry);
    platform::replaceFile(CurrentPackagePath(name), content);
}

void PackageStore::DeleteCurrentPackage(const std::string& name) const
{
    platform::deleteFile(CurrentPackagePath(name));
}

void PackageStore::ClearSelection() const
{
    const std::string file = CurrentSettingsPath();
    std::string text;
    if (platform::readFile(file, text)) {
        const auto section = text.find("[SELECT PACKAGE]");
        if (section != std::string::npos)
            text.resize(section);
    }
    platform::replaceFile(file, trimmed(text) + "\r\n\r\n");
}

void PackageStore::RemoveFromSelection(const std::string& name) const
{
    const std::string file = CurrentSettingsPath();
    std::string list;
    int count = 0;
    ReadSelection(file, list, count);
    ClearSelection();

    const std::string entry = name + "*";
    for (size_t at = list.find(entry); at != std::string::npos; at = list.find(entry, at + 1)) {
        if (at == 0 || list[at - 1] == '*') {
            list.erase(at, entry.size());
            break;
        }
    }
    if (list.empty())
        return;
    std::string field;
    for (int i = 0; i < count; ++i) {
        if (!GetField(list, i, '*', field).empty())
            platform::writeProfileString("SELECT PACKAGE", numberedKey(i, "Name"), field, file);
    }
}
