// Conversions between the system's 8-bit text (UTF-8) and the registry's UTF-16LE text.
//
// Every function accepts any bytes and never fails: invalid UTF-8 bytes stand for the Latin-1
// characters of the same value, unpaired surrogates become U+FFFD and an odd trailing byte of
// UTF-16LE data is dropped. The results are always well-formed.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace registry {

// The text with every invalid UTF-8 byte replaced by the Latin-1 character of that value.
std::string sanitizeUtf8(std::string_view text);

// UTF-16LE bytes of the text, without a terminator.
std::string toUtf16le(std::string_view text);

// UTF-8 text of UTF-16LE bytes.
std::string fromUtf16le(std::string_view bytes);

// Number of UTF-16 code units the text takes.
std::size_t utf16Length(std::string_view text);

// The longest prefix of at most maxBytes bytes that does not split a character.
std::size_t prefixWithoutSplit(std::string_view text, std::size_t maxBytes);

// The text with letters folded for case-blind comparison: ASCII, Latin-1, Latin Extended-A,
// Greek and Cyrillic capitals become small letters.
std::string foldCase(std::string_view text);

} // namespace registry
