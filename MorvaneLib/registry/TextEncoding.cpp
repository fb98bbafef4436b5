#include "registry/TextEncoding.h"

#include <cstdint>

namespace registry {
namespace {

constexpr char32_t replacementCharacter = 0xFFFD;

// Decodes one well-formed UTF-8 sequence at the start of the text. Returns its length, or 0
// when the first byte does not begin a well-formed sequence.
std::size_t decodeUtf8(std::string_view text, char32_t& codePoint)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    }
    std::size_t length;
    char32_t value;
    char32_t minimum;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        value = lead & 0x1F;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        value = lead & 0x0F;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        value = lead & 0x07;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (text.size() < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return 0;
        value = (value << 6) | (byte(i) & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return 0;
    codePoint = value;
    return length;
}

// Calls visit for every character of the text, invalid bytes read as Latin-1.
template <typename Visit>
void forEachCodePoint(std::string_view text, Visit visit)
{
    while (!text.empty()) {
        char32_t codePoint;
        std::size_t length = decodeUtf8(text, codePoint);
        if (length == 0) {
            codePoint = static_cast<unsigned char>(text[0]);
            length = 1;
        }
        visit(codePoint);
        text.remove_prefix(length);
    }
}

void appendUtf8(std::string& out, char32_t codePoint)
{
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (codePoint >> 18));
        out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

void appendUnit(std::string& out, std::uint16_t unit)
{
    out += static_cast<char>(unit & 0xFF);
    out += static_cast<char>(unit >> 8);
}

char32_t foldCodePoint(char32_t c)
{
    if (c >= 'A' && c <= 'Z')
        return c + 0x20;
    if (c < 0xC0)
        return c;
    if (c <= 0xDE)
        return c == 0xD7 ? c : c + 0x20;
    // Latin Extended-A pairs capitals and small letters: even/odd up to U+0137, odd/even from
    // U+0139 to U+0148 and from U+014A (even/odd) to U+0177; U+0178 and U+0179..U+017E apart.
    if (c == 0x130 || c == 0x131)
        return c;
    if (c >= 0x100 && c <= 0x137)
        return c | 1;
    if (c >= 0x139 && c <= 0x148)
        return (c & 1) ? c + 1 : c;
    if (c >= 0x14A && c <= 0x177)
        return c | 1;
    if (c == 0x178)
        return 0xFF;
    if (c >= 0x179 && c <= 0x17E)
        return (c & 1) ? c + 1 : c;
    if ((c >= 0x391 && c <= 0x3A9 && c != 0x3A2))
        return c + 0x20;
    if (c >= 0x400 && c <= 0x40F)
        return c + 0x50;
    if (c >= 0x410 && c <= 0x42F)
        return c + 0x20;
    return c;
}

} // namespace

std::string sanitizeUtf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    forEachCodePoint(text, [&](char32_t c) { appendUtf8(out, c); });
    return out;
}

std::string toUtf16le(std::string_view text)
{
    std::string out;
    out.reserve(text.size() * 2);
    forEachCodePoint(text, [&](char32_t c) {
        if (c < 0x10000) {
            appendUnit(out, static_cast<std::uint16_t>(c));
        } else {
            c -= 0x10000;
            appendUnit(out, static_cast<std::uint16_t>(0xD800 | (c >> 10)));
            appendUnit(out, static_cast<std::uint16_t>(0xDC00 | (c & 0x3FF)));
        }
    });
    return out;
}

std::string fromUtf16le(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() / 2);
    const std::size_t units = bytes.size() / 2;
    const auto unit = [&](std::size_t i) {
        return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                          (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    };
    for (std::size_t i = 0; i < units; ++i) {
        const std::uint16_t first = unit(i);
        if (first >= 0xD800 && first <= 0xDBFF && i + 1 < units) {
            const std::uint16_t second = unit(i + 1);
            if (second >= 0xDC00 && second <= 0xDFFF) {
                appendUtf8(out, 0x10000 + ((char32_t(first) - 0xD800) << 10) + (second - 0xDC00));
                ++i;
                continue;
            }
        }
        appendUtf8(out, (first >= 0xD800 && first <= 0xDFFF) ? replacementCharacter : first);
    }
    return out;
}

std::size_t utf16Length(std::string_view text)
{
    std::size_t length = 0;
    forEachCodePoint(text, [&](char32_t c) { length += c < 0x10000 ? 1 : 2; });
    return length;
}

std::size_t prefixWithoutSplit(std::string_view text, std::size_t maxBytes)
{
    std::size_t end = 0;
    while (end < text.size()) {
        char32_t codePoint;
        std::size_t length = decodeUtf8(text.substr(end), codePoint);
        if (length == 0)
            length = 1;
        if (end + length > maxBytes)
            break;
        end += length;
    }
    return end;
}

std::string foldCase(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    forEachCodePoint(text, [&](char32_t c) { appendUtf8(out, foldCodePoint(c)); });
    return out;
}

} // namespace registry
