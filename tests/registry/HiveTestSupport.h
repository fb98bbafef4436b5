// Helpers for the registry tests: hive texts in the file encodings the reader accepts, and the
// text of an export file.
#pragma once

#include "registry/Hive.h"
#include "registry/TextEncoding.h"

#include <string>
#include <string_view>

namespace registrytest {

// UTF-16LE with the byte-order mark, as the registry editor writes.
inline std::string unicodeFile(std::string_view text) { return "\xFF\xFE" + registry::toUtf16le(text); }

// The 8-bit text of a UTF-16LE file with its byte-order mark; empty when the mark is missing.
inline std::string textOfUnicodeFile(std::string_view bytes)
{
    if (bytes.size() < 2 || bytes.substr(0, 2) != "\xFF\xFE")
        return {};
    return registry::fromUtf16le(bytes.substr(2));
}

inline std::string utf16(std::string_view text, bool terminated = true)
{
    return registry::toUtf16le(text) + (terminated ? std::string(2, '\0') : std::string());
}

// The key at a full path ("HKEY_...\a\b"); noKey when it is missing.
inline registry::Hive::Key keyAt(const registry::Hive& hive, std::string_view path)
{
    const std::size_t separator = path.find('\\');
    const registry::Hive::Key root = hive.rootNamed(path.substr(0, separator));
    if (root == registry::Hive::noKey || separator == std::string_view::npos)
        return root;
    return hive.findKey(root, path.substr(separator + 1));
}

} // namespace registrytest
