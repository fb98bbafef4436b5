#include "platform/Profile.h"

#include "platform/FileSystem.h"
#include "platform/Path.h"

#include <optional>
#include <vector>

namespace platform {
namespace {

struct Line {
    size_t begin = 0; // first byte of the line
    size_t end = 0;   // end of its content, before CR LF or LF
    size_t next = 0;  // first byte of the following line
    bool terminated = false;
};

std::vector<Line> splitLines(std::string_view text)
{
    std::vector<Line> lines;
    size_t begin = 0;
    while (begin < text.size()) {
        Line line;
        line.begin = begin;
        const size_t feed = text.find('\n', begin);
        if (feed == std::string_view::npos) {
            line.end = line.next = text.size();
        } else {
            line.end = (feed > begin && text[feed - 1] == '\r') ? feed - 1 : feed;
            line.next = feed + 1;
            line.terminated = true;
        }
        lines.push_back(line);
        begin = line.next;
    }
    return lines;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string_view contentOf(std::string_view text, const Line& line)
{
    return text.substr(line.begin, line.end - line.begin);
}

// The section name of a header line.
std::optional<std::string_view> headerName(std::string_view content)
{
    content = trimmed(content);
    if (content.empty() || content.front() != '[')
        return std::nullopt;
    content.remove_prefix(1);
    return trimmed(content.substr(0, content.find(']')));
}

struct Section {
    size_t header = 0;     // index of the header line
    size_t bodyEnd = 0;    // index of the line after the section
};

std::optional<Section> findSection(std::string_view text, const std::vector<Line>& lines, std::string_view section)
{
    const std::string_view wanted = trimmed(section);
    for (size_t i = 0; i < lines.size(); ++i) {
        const auto name = headerName(contentOf(text, lines[i]));
        if (!name || !sameNameIgnoringCase(*name, wanted))
            continue;
        Section found;
        found.header = i;
        found.bodyEnd = i + 1;
        while (found.bodyEnd < lines.size() && !headerName(contentOf(text, lines[found.bodyEnd])))
            ++found.bodyEnd;
        return found;
    }
    return std::nullopt;
}

// The line index of the key in the section, and the offset of its "=".
std::optional<std::pair<size_t, size_t>> findKey(std::string_view text, const std::vector<Line>& lines,
                                                 const Section& section, std::string_view key)
{
    const std::string_view wanted = trimmed(key);
    for (size_t i = section.header + 1; i < section.bodyEnd; ++i) {
        const std::string_view content = contentOf(text, lines[i]);
        const size_t equals = content.find('=');
        if (equals == std::string_view::npos)
            continue;
        if (sameNameIgnoringCase(trimmed(content.substr(0, equals)), wanted))
            return std::make_pair(i, lines[i].begin + equals);
    }
    return std::nullopt;
}

// A line end inside a written text would start a line of its own.
std::string singleLine(std::string_view text)
{
    std::string line(text);
    for (char& c : line) {
        if (c == '\r' || c == '\n')
            c = ' ';
    }
    return line;
}

size_t cutWithoutSplittingCharacter(std::string_view text, size_t limit)
{
    if (text.size() <= limit)
        return text.size();
    size_t cut = limit;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;
    return cut;
}

} // namespace

std::string profileValue(std::string_view text, std::string_view section, std::string_view key)
{
    const std::vector<Line> lines = splitLines(text);
    const auto found = findSection(text, lines, section);
    if (!found)
        return {};
    const auto keyLine = findKey(text, lines, *found, key);
    if (!keyLine)
        return {};
    std::string_view value = text.substr(keyLine->second + 1, lines[keyLine->first].end - keyLine->second - 1);
    value = value.substr(0, value.find('\0'));
    return std::string(trimmed(value));
}

std::string withProfileValue(std::string_view text, std::string_view section, std::string_view key,
                             std::string_view value)
{
    const std::string keyLine = singleLine(key) + "=" + singleLine(value);
    const std::vector<Line> lines = splitLines(text);
    std::string result(text);

    const auto found = findSection(text, lines, section);
    if (!found) {
        if (!result.empty() && result.back() != '\n')
            result += "\r\n";
        result += "[" + singleLine(section) + "]\r\n" + keyLine + "\r\n";
        return result;
    }

    if (const auto existing = findKey(text, lines, *found, key)) {
        const Line& line = lines[existing->first];
        result.replace(existing->second + 1, line.end - existing->second - 1, singleLine(value));
        return result;
    }

    size_t last = found->header;
    for (size_t i = found->header + 1; i < found->bodyEnd; ++i) {
        if (!trimmed(contentOf(text, lines[i])).empty())
            last = i;
    }
    const Line& after = lines[last];
    if (after.terminated)
        result.insert(after.next, keyLine + "\r\n");
    else
        result.insert(after.next, "\r\n" + keyLine + "\r\n");
    return result;
}

std::size_t readProfileString(std::string_view section, std::string_view key, std::string_view file,
                              std::string& value, std::size_t size)
{
    value.clear();
    std::string text;
    if (size == 0 || !readFile(file, text))
        return 0;
    std::string found = profileValue(text, section, key);
    found.resize(cutWithoutSplittingCharacter(found, size - 1));
    value = std::move(found);
    return value.size();
}

bool writeProfileString(std::string_view section, std::string_view key, std::string_view value,
                        std::string_view file)
{
    std::string text;
    if (pathExists(file) && !readFile(file, text))
        return false;
    return replaceFile(file, withProfileValue(text, section, key, value));
}

} // namespace platform
