// The registry of this platform: a tree of keys and typed values held in memory, read from the
// hive file ".\MorvaneRegistry.reg" in the registry editor's .reg text format.
//
// The five roots always exist. Key and value names are compared without regard to letter case
// and keep the spelling they were first given; sub-keys and values keep the order in which they
// were added, which for a parsed hive is file order. Keys live in one table and are addressed by
// index, so that a tree of any depth is built, walked and released without recursion. Reading
// never fails: what cannot be understood is left out and the rest is kept.
#pragma once

#include "registry/RegistryRoot.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace registry {

// The name of the hive file, relative to the working directory.
inline constexpr std::string_view hiveFilePath = ".\\MorvaneRegistry.reg";

struct HiveValue {
    std::string name;               // empty for the default value
    std::uint32_t type = REG_NONE;  // REG_SZ, REG_DWORD, ...
    std::string data;               // the bytes the registry holds; text kinds in UTF-16LE

    bool operator==(const HiveValue&) const = default;
};

class Hive {
public:
    using Key = std::size_t;
    static constexpr Key noKey = static_cast<Key>(-1);

    // The five roots with nothing below them.
    Hive();

    // Reads .reg text: "REGEDIT4" or "Windows Registry Editor Version 5.00", in UTF-16LE with
    // its byte-order mark or in 8-bit text. Text without either first line gives an empty hive.
    static Hive parse(std::string_view bytes);

    // Reads the hive file afresh; an absent or unreadable file gives an empty hive.
    static Hive load();

    // The key of a predefined root handle; noKey for any other handle.
    Key root(HKEY handle) const;
    // The key of a root named by its long name in any letter case; noKey for another name.
    Key rootNamed(std::string_view longName) const;

    // The key below from at the sub-key path (names separated by "\", empty names skipped);
    // from itself for an empty path, noKey when a name does not exist.
    Key findKey(Key from, std::string_view subkeyPath) const;

    const std::string& name(Key key) const { return m_keys[key].name; }
    bool isRoot(Key key) const { return key < registryRoots.size(); }
    // The full path: the root's long name and the names below it, separated by "\".
    std::string path(Key key) const;

    const std::vector<Key>& subkeys(Key key) const { return m_keys[key].subkeys; }
    const std::vector<HiveValue>& values(Key key) const { return m_keys[key].values; }
    // The value of that name (empty for the default value); nullptr when there is none.
    const HiveValue* findValue(Key key, std::string_view valueName) const;

    // The sub-key of that name, added after the others when it does not exist yet.
    Key addKey(Key parent, std::string_view keyName);
    // Adds a value after the others, or replaces the data of the value of that name in place.
    void setValue(Key key, HiveValue value);
    void deleteValue(Key key, std::string_view valueName);
    // Detaches a key and everything below it; the roots stay.
    void deleteKey(Key key);

    // Equal trees: the same names in the same spelling and order, the same values.
    bool operator==(const Hive& other) const;
    // The same comparison for the trees below one key of each hive, the keys' names included.
    bool sameTree(Key key, const Hive& other, Key otherKey) const;

private:
    struct Node {
        std::string name;
        Key parent = noKey;
        std::vector<Key> subkeys;
        std::unordered_map<std::string, Key> subkeyByName;  // folded names
        std::vector<HiveValue> values;
        std::unordered_map<std::string, std::size_t> valueByName;  // folded names
    };

    std::vector<Node> m_keys;
};

} // namespace registry
