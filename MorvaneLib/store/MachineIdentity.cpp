// The machine identity: the unique ID a collection is named after, from the computer name, a
// registry value or a text the user typed.
#include "store/PackageStore.h"

#include "platform/ComputerName.h"

#include <algorithm>

namespace {

constexpr const char* registryIdPattern = "brenok800\\machine\\id";
constexpr const char* fallbackIdPath = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Zarvot\\Projects\\Tarvil800Q\\MACHINE\\Id";

std::string lowerCased(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return text;
}

} // namespace

bool PackageStore::ResolveMachineId(const std::string& settingsFile, std::string& id) const
{
    std::string computerSource;
    if (!ReadSetting(settingsFile, "Computer Name", computerSource))
        return false;

    int disabledSources = 0;
    if (computerSource == "1")
        id = platform::computerName();
    else
        ++disabledSources;

    std::string registryField;
    ReadSetting(settingsFile, "Registry Field", registryField);
    if (registryField != "NULL") {
        std::string path = registryField;
        ReadRegistryValue(path, id, true);
        if (id.empty()) {
            if (lowerCased(registryField).find(registryIdPattern) != std::string::npos) {
                std::string fallback = fallbackIdPath;
                ReadRegistryValue(fallback, id, true);
                if (id.empty())
                    id = platform::computerName();
            } else {
                id = platform::computerName();
            }
        }
    } else {
        ++disabledSources;
    }

    std::string userDefined;
    ReadSetting(settingsFile, "User Defined", userDefined);
    if (userDefined != "NULL")
        id = userDefined;
    else
        ++disabledSources;

    if (disabledSources == 3)
        return false;

    std::string offending;
    if (CheckNameCharacters(id, true, offending))
        return true;
    id = platform::computerName();
    return false;
}

std::string PackageStore::MachineOutputFolder() const
{
    const std::string settingsFile = CurrentSettingsPath();
    std::string localDirectory;
    ReadSetting(settingsFile, "Local Directory", localDirectory);
    std::string id;
    ResolveMachineId(settingsFile, id);
    return localDirectory + id;
}
