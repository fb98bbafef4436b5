#include "platform/Path.h"

#include "platform/FolderNames.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace platform {
namespace {

bool isSeparator(char c)
{
    return c == '\\' || c == '/';
}

char upper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool entryExists(const std::string& linuxPath)
{
    struct stat status;
    return ::lstat(linuxPath.c_str(), &status) == 0;
}

std::vector<std::string> splitComponents(std::string_view text)
{
    std::vector<std::string> components;
    std::string current;
    for (char c : text) {
        if (isSeparator(c)) {
            if (!current.empty())
                components.push_back(std::move(current));
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty())
        components.push_back(std::move(current));
    return components;
}

} // namespace

bool sameNameIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return upper(x) == upper(y); });
}

bool comesBeforeInListing(std::string_view a, std::string_view b)
{
    const auto upperLess = [](char x, char y) {
        return static_cast<unsigned char>(upper(x)) < static_cast<unsigned char>(upper(y));
    };
    if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), upperLess))
        return true;
    if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), upperLess))
        return false;
    return a < b;
}

bool readFolderNames(const std::string& linuxFolder, std::vector<std::string>& names)
{
    DIR* folder = ::opendir(linuxFolder.empty() ? "." : linuxFolder.c_str());
    if (!folder)
        return false;
    std::vector<std::string> found;
    errno = 0;
    while (const dirent* entry = ::readdir(folder)) {
        const std::string_view name = entry->d_name;
        if (name == "." || name == ".." || name.find('\\') != std::string_view::npos)
            continue;
        found.emplace_back(name);
    }
    const bool complete = errno == 0;
    ::closedir(folder);
    if (!complete)
        return false;
    std::sort(found.begin(), found.end(), comesBeforeInListing);
    names = std::move(found);
    return true;
}

bool findNameIgnoringCase(const std::string& linuxFolder, std::string_view name, std::string& match)
{
    DIR* folder = ::opendir(linuxFolder.empty() ? "." : linuxFolder.c_str());
    if (!folder)
        return false;
    bool found = false;
    while (const dirent* entry = ::readdir(folder)) {
        const std::string_view candidate = entry->d_name;
        if (!sameNameIgnoringCase(candidate, name) || candidate.find('\\') != std::string_view::npos)
            continue;
        if (!found || comesBeforeInListing(candidate, match))
            match = candidate;
        found = true;
    }
    ::closedir(folder);
    return found;
}

bool toLinuxPath(std::string_view windowsPath, std::string& linuxPath)
{
    if (windowsPath.empty())
        return false;
    if (windowsPath.size() >= 2 && isSeparator(windowsPath[0]) && isSeparator(windowsPath[1]))
        return false; // a network name

    std::string_view rest = windowsPath;
    if (rest.size() >= 2 && rest[1] == ':') {
        if (upper(rest[0]) != 'C')
            return false;
        rest.remove_prefix(2);
    }
    // "C:x" is relative to the current folder of drive C:, which is the working directory.
    const bool absolute = !rest.empty() && isSeparator(rest[0]);
    const bool trailingSeparator = !rest.empty() && isSeparator(rest.back());

    std::string result = absolute ? "/" : "";
    bool resolving = true;
    for (const std::string& component : splitComponents(rest)) {
        if (component == ".")
            continue;
        const std::string folder = result;
        if (!result.empty() && result.back() != '/')
            result += '/';
        if (component == ".." || !resolving) {
            result += component;
            continue;
        }
        if (entryExists(result + component)) {
            result += component;
            continue;
        }
        std::string match;
        if (findNameIgnoringCase(folder, component, match)) {
            result += match;
        } else {
            result += component;
            resolving = false;
        }
    }
    if (result.empty())
        result = ".";
    if (trailingSeparator && result.back() != '/')
        result += '/';
    linuxPath = std::move(result);
    return true;
}

bool toWindowsPath(std::string_view linuxPath, std::string& windowsPath)
{
    std::string full;
    if (linuxPath.empty() || linuxPath[0] != '/') {
        std::vector<char> buffer(4096);
        while (!::getcwd(buffer.data(), buffer.size())) {
            if (errno != ERANGE)
                return false;
            buffer.resize(buffer.size() * 2);
        }
        full = buffer.data();
        full += '/';
    }
    full += linuxPath;

    std::vector<std::string> components;
    std::string current;
    for (size_t i = 0; i <= full.size(); ++i) {
        if (i < full.size() && full[i] != '/') {
            current += full[i];
            continue;
        }
        if (current == "..") {
            if (!components.empty())
                components.pop_back();
        } else if (!current.empty() && current != ".") {
            if (current.find('\\') != std::string::npos)
                return false;
            components.push_back(current);
        }
        current.clear();
    }

    std::string result = "C:\\";
    for (size_t i = 0; i < components.size(); ++i) {
        if (i > 0)
            result += '\\';
        result += components[i];
    }
    windowsPath = std::move(result);
    return true;
}

} // namespace platform
