// Hive::parse: the .reg text reader.
//
// Lines end in LF or CR LF. After the first line (the format's name) come key lines "[path]",
// "[-path]" to remove a key, and value lines under the last key: "name"= or @= followed by
// "text", dword:XXXXXXXX, hex:bytes, hex(type):bytes or - to remove the value. Hex data goes on
// over lines that end in "\". Blank lines and lines starting with ";" are ignored; a line that
// cannot be understood is skipped, and value lines under a key line that could not be
// understood are skipped with it.
#include "registry/Hive.h"

#include "registry/TextEncoding.h"

#include <optional>

namespace registry {
namespace {

constexpr std::string_view unicodeHeader = "Windows Registry Editor Version 5.00";
constexpr std::string_view ansiHeader = "REGEDIT4";

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimLeft(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    return text;
}

std::string_view trimRight(std::string_view text)
{
    while (!text.empty() && (isBlank(text.back()) || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

std::string_view trim(std::string_view text) { return trimRight(trimLeft(text)); }

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i])
            return false;
    }
    return true;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// One to eight hex digits, the whole text.
std::optional<std::uint32_t> parseHexNumber(std::string_view text)
{
    if (text.empty() || text.size() > 8)
        return std::nullopt;
    std::uint32_t value = 0;
    for (char c : text) {
        const int digit = hexDigit(c);
        if (digit < 0)
            return std::nullopt;
        value = (value << 4) | static_cast<std::uint32_t>(digit);
    }
    return value;
}

// What may follow a value's data on its line: blanks, or a comment.
bool isLineRest(std::string_view rest)
{
    rest = trimLeft(rest);
    return rest.empty() || rest.front() == ';';
}

// A quoted text at the start of the line, with \\ and \" unescaped (any other backslash is
// kept as it stands). Consumes the closing quote.
std::optional<std::string> parseQuoted(std::string_view& line)
{
    if (line.empty() || line.front() != '"')
        return std::nullopt;
    std::string text;
    std::size_t i = 1;
    while (i < line.size()) {
        const char c = line[i];
        if (c == '"') {
            line.remove_prefix(i + 1);
            return text;
        }
        if (c == '\\' && i + 1 < line.size() && (line[i + 1] == '\\' || line[i + 1] == '"')) {
            text += line[i + 1];
            i += 2;
            continue;
        }
        text += c;
        ++i;
    }
    return std::nullopt;
}

// Comma-separated bytes of one or two hex digits; a trailing comma is allowed.
std::optional<std::string> parseHexBytes(std::string_view text)
{
    std::string bytes;
    text = trim(text);
    if (!text.empty() && text.front() == ';')
        return bytes;
    while (!text.empty()) {
        const std::size_t comma = text.find(',');
        std::string_view token = trim(text.substr(0, comma));
        const bool last = comma == std::string_view::npos;
        if (last) {
            if (const std::size_t comment = token.find(';'); comment != std::string_view::npos)
                token = trim(token.substr(0, comment));
        }
        if (token.empty() && last)
            break;
        if (token.empty() || token.size() > 2)
            return std::nullopt;
        const auto value = parseHexNumber(token);
        if (!value)
            return std::nullopt;
        bytes += static_cast<char>(*value);
        if (last)
            break;
        text.remove_prefix(comma + 1);
    }
    return bytes;
}

bool isTextType(std::uint32_t type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

class Reader {
public:
    Reader(std::string text) : m_text(std::move(text)) {}

    Hive read()
    {
        std::string_view first;
        if (!nextLine(first))
            return std::move(m_hive);
        first = trim(first);
        if (first == unicodeHeader)
            m_unicode = true;
        else if (first != ansiHeader)
            return std::move(m_hive);

        std::string_view line;
        while (nextLine(line)) {
            line = trimLeft(line);
            if (line.empty() || line.front() == ';')
                continue;
            if (line.front() == '[')
                readKeyLine(line);
            else if (m_current != Hive::noKey)
                readValueLine(line);
        }
        return std::move(m_hive);
    }

private:
    bool nextLine(std::string_view& line)
    {
        if (m_position >= m_text.size())
            return false;
        const std::size_t end = m_text.find('\n', m_position);
        const std::size_t stop = end == std::string::npos ? m_text.size() : end;
        line = std::string_view(m_text).substr(m_position, stop - m_position);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        m_position = end == std::string::npos ? m_text.size() : end + 1;
        return true;
    }

    void readKeyLine(std::string_view line)
    {
        m_current = Hive::noKey;
        const std::size_t close = line.rfind(']');
        if (close == std::string_view::npos)
            return;
        std::string_view path = line.substr(1, close - 1);
        const bool removal = !path.empty() && path.front() == '-';
        if (removal)
            path.remove_prefix(1);

        const std::size_t separator = path.find('\\');
        const Hive::Key root = m_hive.rootNamed(path.substr(0, separator));
        if (root == Hive::noKey)
            return;
        const std::string_view subkeyPath =
            separator == std::string_view::npos ? std::string_view() : path.substr(separator + 1);
        if (removal) {
            const Hive::Key key = m_hive.findKey(root, subkeyPath);
            if (key != Hive::noKey)
                m_hive.deleteKey(key);
            return;
        }
        Hive::Key key = root;
        std::string_view rest = subkeyPath;
        while (!rest.empty()) {
            const std::size_t next = rest.find('\\');
            const std::string_view keyName = rest.substr(0, next);
            rest = next == std::string_view::npos ? std::string_view() : rest.substr(next + 1);
            if (!keyName.empty())
                key = m_hive.addKey(key, keyName);
        }
        m_current = key;
    }

    void readValueLine(std::string_view line)
    {
        std::string name;
        if (line.front() == '@') {
            line.remove_prefix(1);
        } else {
            auto quoted = parseQuoted(line);
            if (!quoted)
                return;
            name = std::move(*quoted);
        }
        line = trimLeft(line);
        if (line.empty() || line.front() != '=')
            return;
        line = trimLeft(line.substr(1));

        if (!line.empty() && line.front() == '-' && isLineRest(line.substr(1))) {
            m_hive.deleteValue(m_current, name);
            return;
        }
        if (!line.empty() && line.front() == '"') {
            auto text = parseQuoted(line);
            if (!text || !isLineRest(line))
                return;
            m_hive.setValue(m_current, HiveValue{std::move(name), REG_SZ, toUtf16le(*text) + std::string(2, '\0')});
            return;
        }
        if (startsWithIgnoringCase(line, "dword:")) {
            std::string_view digits = line.substr(6);
            const std::size_t end = digits.find_first_of(" \t;");
            if (end != std::string_view::npos && !isLineRest(digits.substr(end)))
                return;
            const auto number = parseHexNumber(digits.substr(0, end));
            if (!number)
                return;
            std::string data(4, '\0');
            for (int i = 0; i < 4; ++i)
                data[i] = static_cast<char>((*number >> (8 * i)) & 0xFF);
            m_hive.setValue(m_current, HiveValue{std::move(name), REG_DWORD, std::move(data)});
            return;
        }
        if (startsWithIgnoringCase(line, "hex")) {
            readHexValue(std::move(name), line.substr(3));
        }
    }

    void readHexValue(std::string name, std::string_view line)
    {
        std::uint32_t type = REG_BINARY;
        if (!line.empty() && line.front() == '(') {
            const std::size_t close = line.find(')');
            if (close == std::string_view::npos)
                return;
            const auto number = parseHexNumber(line.substr(1, close - 1));
            if (!number)
                return;
            type = *number;
            line.remove_prefix(close + 1);
        }
        if (line.empty() || line.front() != ':')
            return;
        line.remove_prefix(1);

        std::string data(trimRight(line));
        while (!data.empty() && data.back() == '\\') {
            data.pop_back();
            std::string_view next;
            if (!nextLine(next))
                break;
            data += trimRight(trimLeft(next));
        }
        auto bytes = parseHexBytes(data);
        if (!bytes)
            return;
        // The 8-bit format holds text kinds as 8-bit text; the registry holds them in UTF-16LE.
        if (!m_unicode && isTextType(type))
            *bytes = toUtf16le(*bytes);
        m_hive.setValue(m_current, HiveValue{std::move(name), type, std::move(*bytes)});
    }

    std::string m_text;
    std::size_t m_position = 0;
    bool m_unicode = false;
    Hive m_hive;
    Hive::Key m_current = Hive::noKey;
};

// The file as 8-bit text: UTF-16LE after its byte-order mark is converted, a UTF-8
// byte-order mark is dropped.
std::string decodeFile(std::string_view bytes)
{
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF && static_cast<unsigned char>(bytes[1]) == 0xFE)
        return fromUtf16le(bytes.substr(2));
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF")
        bytes.remove_prefix(3);
    return sanitizeUtf8(bytes);
}

} // namespace

Hive Hive::parse(std::string_view bytes)
{
    return Reader(decodeFile(bytes)).read();
}

} // namespace registry
