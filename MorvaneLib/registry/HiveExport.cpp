#include "registry/HiveExport.h"

#include "registry/TextEncoding.h"

#include <cstdio>

namespace registry {
namespace {

constexpr std::string_view lineEnd = "\r\n";
constexpr std::size_t lastWrapColumn = 76;

std::string quoted(std::string_view text)
{
    std::string out = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    out += '"';
    return out;
}

// The text of a REG_SZ value that the quoted form carries exactly: well-formed UTF-16LE ending
// in its one terminator, with no line break that would split the line.
bool textOfString(const std::string& data, std::string& text)
{
    if (data.size() < 2 || data.size() % 2 != 0 || data[data.size() - 1] != '\0' || data[data.size() - 2] != '\0')
        return false;
    const std::string_view body(data.data(), data.size() - 2);
    text = fromUtf16le(body);
    if (toUtf16le(text) != body)
        return false;
    return text.find_first_of(std::string_view("\0\r\n", 3)) == std::string::npos;
}

std::string hexLines(std::string prefix, const std::string& data)
{
    static constexpr char digits[] = "0123456789abcdef";
    std::string out = std::move(prefix);
    std::size_t column = utf16Length(out);
    for (std::size_t i = 0; i < data.size(); ++i) {
        const auto byte = static_cast<unsigned char>(data[i]);
        out += digits[byte >> 4];
        out += digits[byte & 0x0F];
        if (i + 1 == data.size())
            break;
        out += ',';
        column += 3;
        if (column > lastWrapColumn) {
            out += "\\";
            out += lineEnd;
            out += "  ";
            column = 2;
        }
    }
    return out;
}

} // namespace

std::string exportValueLines(const HiveValue& value)
{
    std::string line = value.name.empty() ? std::string("@") : quoted(value.name);
    line += '=';
    std::string text;
    if (value.type == REG_SZ && textOfString(value.data, text))
        return line + quoted(text);
    if (value.type == REG_DWORD && value.data.size() == 4) {
        std::uint32_t number = 0;
        for (int i = 3; i >= 0; --i)
            number = (number << 8) | static_cast<unsigned char>(value.data[i]);
        char digits[16];
        std::snprintf(digits, sizeof digits, "dword:%08x", number);
        return line + digits;
    }
    if (value.type == REG_BINARY)
        return hexLines(line + "hex:", value.data);
    char kind[24];
    std::snprintf(kind, sizeof kind, "hex(%x):", value.type);
    return hexLines(line + kind, value.data);
}

std::string exportKey(const Hive& hive, Hive::Key key)
{
    std::string text = "Windows Registry Editor Version 5.00";
    text += lineEnd;
    std::vector<Hive::Key> pending{key};
    while (!pending.empty()) {
        const Hive::Key current = pending.back();
        pending.pop_back();
        text += lineEnd;
        text += '[';
        text += hive.path(current);
        text += ']';
        text += lineEnd;
        for (const HiveValue& value : hive.values(current)) {
            text += exportValueLines(value);
            text += lineEnd;
        }
        const auto& subkeys = hive.subkeys(current);
        pending.insert(pending.end(), subkeys.rbegin(), subkeys.rend());
    }
    text += lineEnd;
    return "\xFF\xFE" + toUtf16le(text);
}

} // namespace registry
