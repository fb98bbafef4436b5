// Feeds arbitrary profile text to the INI reader and writer. Input: three length bytes, the
// section, key and value of that length, then the text. A key set in the text must read back
// as written, whatever the text held before.
#include "platform/Profile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

std::string_view take(std::string_view& input, size_t length)
{
    length = std::min(length, input.size());
    const std::string_view part = input.substr(0, length);
    input.remove_prefix(length);
    return part;
}

std::string expectedValue(std::string_view value)
{
    std::string line(value.substr(0, value.find('\0')));
    for (char& c : line) {
        if (c == '\r' || c == '\n')
            c = ' ';
    }
    const auto first = line.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return line.substr(first, line.find_last_not_of(" \t") - first + 1);
}

// Names the writer can express: a section without "]", a key without "=" that does not read
// as a header line, neither holding a line end.
bool expressible(std::string_view section, std::string_view key)
{
    const auto hasAny = [](std::string_view text, std::string_view characters) {
        return text.find_first_of(characters) != std::string_view::npos;
    };
    const auto firstKey = key.find_first_not_of(" \t");
    return !hasAny(section, std::string_view("]\r\n\0", 4)) && !hasAny(key, std::string_view("=\r\n\0", 4))
        && (firstKey == std::string_view::npos || key[firstKey] != '[');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view input(reinterpret_cast<const char*>(data), size);
    if (input.size() < 3)
        return 0;
    const size_t sectionLength = static_cast<unsigned char>(input[0]) % 32;
    const size_t keyLength = static_cast<unsigned char>(input[1]) % 32;
    const size_t valueLength = static_cast<unsigned char>(input[2]) % 64;
    input.remove_prefix(3);
    const std::string_view section = take(input, sectionLength);
    const std::string_view key = take(input, keyLength);
    const std::string_view value = take(input, valueLength);
    const std::string_view text = input;

    platform::profileValue(text, section, key);
    const std::string written = platform::withProfileValue(text, section, key, value);
    if (expressible(section, key) && platform::profileValue(written, section, key) != expectedValue(value))
        std::abort();
    return 0;
}
