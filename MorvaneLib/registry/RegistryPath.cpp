// The registry path operations of the store: root recognition, the short form used in file
// names, and the key and value checks over the hive.
#include "store/PackageStore.h"

#include "registry/RegistryKey.h"
#include "registry/RegistryRoot.h"
#include "registry/TextEncoding.h"

#include <type_traits>

static_assert(std::is_same_v<HKEY, unsigned int>, "the store passes root handles as unsigned int");

namespace {

constexpr std::size_t abbreviatedPathLimit = 245;
constexpr std::size_t valuePathLimit = 999;

std::string upperCased(std::string text)
{
    for (char& c : text) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

void replaceAll(std::string& text, std::string_view from, std::string_view to)
{
    if (from.empty())
        return;
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

bool holdsDoubledBackslash(const std::string& path) { return path.find("\\\\") != std::string::npos; }

// The first step of the key and value checks: the root is recognised and "root\" removed
// wherever it occurs, which leaves the sub-key path. Returns whether the root was known.
bool splitRoot(const PackageStore& store, std::string& path, std::string& rootPrefix, HKEY& handle)
{
    handle = 0;
    const bool known = store.ParseRegistryRoot(path, rootPrefix, handle);
    rootPrefix += '\\';
    replaceAll(path, rootPrefix, "");
    return known && rootPrefix != "\\";
}

} // namespace

bool PackageStore::ParseRegistryRoot(std::string& path, std::string& root, unsigned int& handle) const
{
    root = upperCased(path);
    const RegistryRoot* match = nullptr;
    for (const RegistryRoot& candidate : registryRoots) {
        if (root.starts_with(candidate.longName)) {
            match = &candidate;
            break;
        }
    }
    if (match) {
        root = match->longName;
        handle = match->handle;
    } else if (!root.empty()) {
        return false;
    }
    const std::size_t separator = path.find('\\');
    path = separator == std::string::npos ? root : root + path.substr(separator);
    return true;
}

bool PackageStore::AbbreviateRegistryPath(const std::string& path, std::string& output) const
{
    output = path;
    const std::string upper = upperCased(path);
    const RegistryRoot* match = nullptr;
    for (const RegistryRoot& candidate : registryRoots) {
        if (upper.starts_with(candidate.longName)) {
            match = &candidate;
            break;
        }
    }
    if (!match)
        return path.empty();
    replaceAll(output, match->longName, match->shortName);
    output.resize(registry::prefixWithoutSplit(output, abbreviatedPathLimit));
    if (!output.empty() && output.back() == '\\')
        output.pop_back();
    return true;
}

bool PackageStore::CheckRegistryPath(std::string& path) const
{
    std::string rootPrefix;
    HKEY handle = 0;
    splitRoot(*this, path, rootPrefix, handle);
    RegistryKey key;
    if (!key.open(handle, path))
        return true;
    path = rootPrefix + path;
    return !holdsDoubledBackslash(path);
}

bool PackageStore::ReadRegistryValue(std::string& path, std::string& output, bool valueOnly) const
{
    const std::string fullPath = path.substr(0, registry::prefixWithoutSplit(path, valuePathLimit));
    std::string subkeyPath = path;
    std::string rootPrefix;
    HKEY handle = 0;
    if (!splitRoot(*this, subkeyPath, rootPrefix, handle))
        return false;

    RegistryKey key;
    if (!valueOnly && key.open(handle, subkeyPath)) {
        path = rootPrefix + subkeyPath;
        return !holdsDoubledBackslash(path);
    }

    const std::size_t lastSeparator = fullPath.rfind('\\');
    const std::string valueName = lastSeparator == std::string::npos ? fullPath : fullPath.substr(lastSeparator + 1);
    const std::size_t keyEnd = subkeyPath.rfind('\\');
    const std::string keyPath = keyEnd == std::string::npos ? subkeyPath : subkeyPath.substr(0, keyEnd);

    bool found = false;
    if (key.open(handle, keyPath)) {
        found = key.readText(valueName, output);
        if (!found) {
            std::int32_t number = 0;
            found = key.readNumber(valueName, number);
            output = found ? std::to_string(number) : std::string();
        }
    }
    path = rootPrefix + subkeyPath;
    return found;
}
