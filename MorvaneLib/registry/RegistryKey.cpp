#include "registry/RegistryKey.h"

#include "registry/TextEncoding.h"

bool RegistryKey::open(HKEY root, std::string_view subkeyPath)
{
    close();
    if (root == 0)
        return false;
    auto hive = std::make_shared<registry::Hive>(registry::Hive::load());
    const registry::Hive::Key rootKey = hive->root(root);
    if (rootKey == registry::Hive::noKey)
        return false;
    const registry::Hive::Key key = hive->findKey(rootKey, subkeyPath);
    if (key == registry::Hive::noKey)
        return false;
    m_hive = std::move(hive);
    m_key = key;
    return true;
}

bool RegistryKey::close()
{
    if (!m_hive)
        return false;
    m_hive.reset();
    m_key = registry::Hive::noKey;
    return true;
}

const registry::HiveValue* RegistryKey::namedValue(std::string_view valueName) const
{
    if (!m_hive || valueName.empty())
        return nullptr;
    return m_hive->findValue(m_key, valueName);
}

bool RegistryKey::readText(std::string_view valueName, std::string& text) const
{
    if (!m_hive)
        return false;
    text.clear();
    const registry::HiveValue* value = namedValue(valueName);
    if (!value || value->type != REG_SZ)
        return false;
    text = registry::fromUtf16le(value->data);
    if (const std::size_t end = text.find('\0'); end != std::string::npos)
        text.resize(end);
    return true;
}

bool RegistryKey::readNumber(std::string_view valueName, std::int32_t& number) const
{
    const registry::HiveValue* value = namedValue(valueName);
    if (!value || value->type != REG_DWORD || value->data.size() != 4)
        return false;
    std::uint32_t bits = 0;
    for (int i = 3; i >= 0; --i)
        bits = (bits << 8) | static_cast<unsigned char>(value->data[i]);
    number = static_cast<std::int32_t>(bits);
    return true;
}

bool RegistryKey::enumKey(std::size_t index, std::string& name) const
{
    if (!m_hive)
        return false;
    const auto& subkeys = m_hive->subkeys(m_key);
    if (index >= subkeys.size())
        return false;
    name = m_hive->name(subkeys[index]);
    return true;
}

bool RegistryKey::enumValue(std::size_t index, RegistryValueInfo& value) const
{
    if (!m_hive)
        return false;
    const auto& values = m_hive->values(m_key);
    if (index >= values.size())
        return false;
    value = RegistryValueInfo{values[index].name, values[index].type, values[index].data};
    return true;
}
