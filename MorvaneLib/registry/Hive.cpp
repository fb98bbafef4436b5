#include "registry/Hive.h"

#include "platform/FileSystem.h"
#include "registry/TextEncoding.h"

#include <utility>

namespace registry {

Hive::Hive()
{
    m_keys.reserve(registryRoots.size());
    for (const RegistryRoot& root : registryRoots) {
        Node node;
        node.name = root.longName;
        m_keys.push_back(std::move(node));
    }
}

Hive Hive::load()
{
    std::string bytes;
    if (!platform::readFile(hiveFilePath, bytes))
        return Hive();
    return parse(bytes);
}

Hive::Key Hive::root(HKEY handle) const
{
    for (std::size_t i = 0; i < registryRoots.size(); ++i) {
        if (registryRoots[i].handle == handle)
            return i;
    }
    return noKey;
}

Hive::Key Hive::rootNamed(std::string_view longName) const
{
    const std::string folded = foldCase(longName);
    for (std::size_t i = 0; i < registryRoots.size(); ++i) {
        if (foldCase(registryRoots[i].longName) == folded)
            return i;
    }
    return noKey;
}

Hive::Key Hive::findKey(Key from, std::string_view subkeyPath) const
{
    Key key = from;
    while (key != noKey && !subkeyPath.empty()) {
        const std::size_t separator = subkeyPath.find('\\');
        const std::string_view keyName = subkeyPath.substr(0, separator);
        subkeyPath = separator == std::string_view::npos ? std::string_view() : subkeyPath.substr(separator + 1);
        if (keyName.empty())
            continue;
        const auto& index = m_keys[key].subkeyByName;
        const auto found = index.find(foldCase(keyName));
        key = found == index.end() ? noKey : found->second;
    }
    return key;
}

std::string Hive::path(Key key) const
{
    std::vector<Key> chain;
    for (Key k = key; k != noKey; k = m_keys[k].parent)
        chain.push_back(k);
    std::string result;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        if (!result.empty())
            result += '\\';
        result += m_keys[*it].name;
    }
    return result;
}

const HiveValue* Hive::findValue(Key key, std::string_view valueName) const
{
    const auto& index = m_keys[key].valueByName;
    const auto found = index.find(foldCase(valueName));
    return found == index.end() ? nullptr : &m_keys[key].values[found->second];
}

Hive::Key Hive::addKey(Key parent, std::string_view keyName)
{
    std::string folded = foldCase(keyName);
    if (const auto found = m_keys[parent].subkeyByName.find(folded); found != m_keys[parent].subkeyByName.end())
        return found->second;
    const Key key = m_keys.size();
    Node node;
    node.name = keyName;
    node.parent = parent;
    m_keys.push_back(std::move(node));
    m_keys[parent].subkeys.push_back(key);
    m_keys[parent].subkeyByName.emplace(std::move(folded), key);
    return key;
}

void Hive::setValue(Key key, HiveValue value)
{
    Node& node = m_keys[key];
    std::string folded = foldCase(value.name);
    if (const auto found = node.valueByName.find(folded); found != node.valueByName.end()) {
        HiveValue& existing = node.values[found->second];
        existing.type = value.type;
        existing.data = std::move(value.data);
        return;
    }
    node.valueByName.emplace(std::move(folded), node.values.size());
    node.values.push_back(std::move(value));
}

void Hive::deleteValue(Key key, std::string_view valueName)
{
    Node& node = m_keys[key];
    const auto found = node.valueByName.find(foldCase(valueName));
    if (found == node.valueByName.end())
        return;
    node.values.erase(node.values.begin() + static_cast<std::ptrdiff_t>(found->second));
    node.valueByName.clear();
    for (std::size_t i = 0; i < node.values.size(); ++i)
        node.valueByName.emplace(foldCase(node.values[i].name), i);
}

void Hive::deleteKey(Key key)
{
    if (isRoot(key))
        return;
    Node& parentNode = m_keys[m_keys[key].parent];
    parentNode.subkeyByName.erase(foldCase(m_keys[key].name));
    std::erase(parentNode.subkeys, key);
    m_keys[key].parent = noKey;
}

bool Hive::operator==(const Hive& other) const
{
    for (std::size_t i = 0; i < registryRoots.size(); ++i) {
        if (!sameTree(i, other, i))
            return false;
    }
    return true;
}

bool Hive::sameTree(Key key, const Hive& other, Key otherKey) const
{
    std::vector<std::pair<Key, Key>> pending{{key, otherKey}};
    while (!pending.empty()) {
        const auto [mine, theirs] = pending.back();
        pending.pop_back();
        const Node& a = m_keys[mine];
        const Node& b = other.m_keys[theirs];
        if (a.name != b.name || a.values != b.values || a.subkeys.size() != b.subkeys.size())
            return false;
        for (std::size_t i = 0; i < a.subkeys.size(); ++i)
            pending.emplace_back(a.subkeys[i], b.subkeys[i]);
    }
    return true;
}

} // namespace registry
