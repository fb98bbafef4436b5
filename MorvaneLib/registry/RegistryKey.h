// RegistryKey: one open key of the hive, with reading and enumeration of its values and
// sub-keys.
//
// Opening reads the hive file afresh and holds what it found for that key until the key is
// closed, opened again or destroyed, as a key handle would. Every operation returns true on
// success; outputs are left as they were on failure unless said otherwise.
#pragma once

#include "registry/Hive.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

// One value of a key as enumeration reports it.
struct RegistryValueInfo {
    std::string name;               // empty for the default value
    std::uint32_t type = REG_NONE;  // REG_SZ, REG_DWORD, ...
    std::string data;               // the bytes the registry holds; text kinds in UTF-16LE
};

class RegistryKey {
public:
    RegistryKey() = default;
    ~RegistryKey() = default;
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    // Opens the key at the sub-key path below a root handle (the root itself for an empty
    // path), closing the key held before. Fails at once for handle 0.
    bool open(HKEY root, std::string_view subkeyPath);
    // Only when a key is held.
    bool close();
    bool isOpen() const { return m_hive != nullptr; }

    // A REG_SZ value as text, cut at its first NUL. The output is emptied first once a key is
    // held. The default value has no name to read it by.
    bool readText(std::string_view valueName, std::string& text) const;
    // A REG_DWORD value of four bytes.
    bool readNumber(std::string_view valueName, std::int32_t& number) const;

    // The name of the sub-key at that index in the hive's order; false past the last one.
    bool enumKey(std::size_t index, std::string& name) const;
    // The value at that index in the hive's order, the default value included; false past the
    // last one.
    bool enumValue(std::size_t index, RegistryValueInfo& value) const;

private:
    const registry::HiveValue* namedValue(std::string_view valueName) const;

    std::shared_ptr<const registry::Hive> m_hive;
    registry::Hive::Key m_key = registry::Hive::noKey;
};
