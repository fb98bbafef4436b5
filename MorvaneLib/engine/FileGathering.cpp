// File gathering: what one file rule selects, copied into the package folder.
//
// A rule names a folder, a file format, a recursive flag and a number of files N. The format
// "*.*" copies the whole folder. Any other format selects, in each folder scanned, a window of N
// files in modification-time order that ends at the newest file not modified after the problem
// minute. Failures are silent: a folder that cannot be listed yields nothing, a file that cannot
// be copied is skipped.

#include "engine/CandidateOrder.h"
#include "engine/CollectionEngine.h"
#include "engine/FileSystemHelpers.h"
#include "platform/FileSystem.h"
#include "platform/Clock.h"
#include "store/PackageStore.h"

#include <algorithm>
#include <array>
#include <ctime>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace {

// A date and time to the minute, compared field by field from the year down.
using Minute = std::array<long long, 5>;

std::string lowerCase(std::string text)
{
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

// Reads a decimal integer at the start of the text; text that is not a number counts as 0.
long long readInteger(const std::string& text)
{
    std::size_t at = 0;
    bool negative = false;
    if (at < text.size() && (text[at] == '-' || text[at] == '+'))
        negative = text[at++] == '-';
    constexpr long long limit = std::numeric_limits<int>::max();
    long long value = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at)
        value = std::min(value * 10 + (text[at] - '0'), limit);
    return negative ? -value : value;
}

// problemTime "YYYY_MM_DD_HH_mm" split at "_"; missing fields read as 0.
Minute minuteOf(const std::string& problemTime)
{
    Minute minute{};
    std::size_t begin = 0;
    for (std::size_t field = 0; field < minute.size() && begin <= problemTime.size(); ++field) {
        std::size_t end = problemTime.find('_', begin);
        if (end == std::string::npos)
            end = problemTime.size();
        minute[field] = readInteger(problemTime.substr(begin, end - begin));
        begin = end + 1;
    }
    return minute;
}

// The table holds unsigned 32-bit seconds; a time outside them takes the nearest end, which
// keeps its place in the order.
std::uint32_t tableTime(std::time_t modified)
{
    constexpr std::time_t latest = std::numeric_limits<std::uint32_t>::max();
    return static_cast<std::uint32_t>(std::clamp<std::time_t>(modified, 0, latest));
}

bool isDotName(const std::string& name)
{
    return !name.empty() && name.front() == '.';
}

// The relative folder of a rule folder: what follows the drive ("C:\Logs\App\" gives
// "Logs\App\"), or, for a path without a drive such as ".\logs\" or a network path, the path
// itself. Empty, "." and ".." components are dropped so that a copy never climbs out of the
// package folder. Each component is followed by a backslash.
std::string relativeFolderOf(const std::string& folder)
{
    std::size_t begin = 0;
    if (const auto drive = folder.find(":\\"); drive != std::string::npos)
        begin = drive + 2;
    std::string relative;
    while (begin <= folder.size()) {
        std::size_t end = folder.find_first_of("\\/", begin);
        if (end == std::string::npos)
            end = folder.size();
        const std::string component = folder.substr(begin, end - begin);
        if (!component.empty() && component != "." && component != "..")
            relative += component + "\\";
        begin = end + 1;
    }
    return relative;
}

// Gathers one rule (other than "*.*") on an engine: the one-folder scans and the walk.
class RuleGathering {
public:
    RuleGathering(CollectionEngine& engine, long long fileCount, bool recursive,
                  const std::string& format)
        : m_engine(engine)
        , m_fileCount(fileCount)
        , m_recursive(recursive)
        , m_problemMinute(minuteOf(engine.problemTime))
        , m_packageFolder(engine.workFolder + "\\" + engine.currentPackage + "\\")
    {
        // The format splits at its first "." into the prefix (every "*" removed) and the
        // suffix, which ends at the next "."; a format without "." serves as both.
        const std::size_t dot = format.find('.');
        std::string prefix = format.substr(0, dot);
        std::erase(prefix, '*');
        m_prefix = lowerCase(prefix);
        if (dot == std::string::npos) {
            m_suffix = lowerCase(format);
        } else {
            const std::size_t nextDot = format.find('.', dot + 1);
            m_suffix = lowerCase(format.substr(dot + 1, nextDot == std::string::npos
                                                            ? std::string::npos
                                                            : nextDot - dot - 1));
        }
    }

    void gather(const std::string& folder)
    {
        std::vector<platform::FolderEntry> entries;
        platform::listFolder(folder, entries);
        const std::string relative = relativeFolderOf(folder);
        scan(folder, relative, entries);
        if (m_recursive)
            walk(folder, relative, entries);
    }

private:
    // Each subfolder, in listing order: its own subfolders first, then the subfolder itself.
    // Only real folders are walked into: a link to a folder could lead back up the tree.
    void walk(const std::string& folder, const std::string& relative,
              const std::vector<platform::FolderEntry>& entries)
    {
        for (const platform::FolderEntry& entry : entries) {
            if (entry.info.kind != platform::EntryKind::Folder || isDotName(entry.name))
                continue;
            const std::string subfolder = folder + entry.name + "\\";
            const std::string subRelative = relative + entry.name + "\\";
            std::vector<platform::FolderEntry> subEntries;
            platform::listFolder(subfolder, subEntries);
            walk(subfolder, subRelative, subEntries);
            scan(subfolder, subRelative, subEntries);
        }
    }

    // Only files are candidates: a folder's copy would fail and a FIFO or device is never opened.
    bool isCandidate(const platform::FolderEntry& entry) const
    {
        if (entry.info.kind != platform::EntryKind::RegularFile
            && entry.info.kind != platform::EntryKind::LinkToRegularFile)
            return false;
        if (isDotName(entry.name))
            return false;
        if (m_suffix == "*")
            return true;
        const std::string name = lowerCase(entry.name);
        return name.ends_with(m_suffix) && name.starts_with(m_prefix);
    }

    FileCandidate candidateOf(const platform::FolderEntry& entry) const
    {
        FileCandidate candidate;
        candidate.name = entry.name;
        const std::time_t modified = entry.info.modified;
        candidate.time = tableTime(modified);
        // A time that has no local minute counts as not after the problem.
        platform::LocalTime local;
        candidate.notAfterProblem = 1;
        if (platform::toLocalTime(modified, local)) {
            const Minute fileMinute{local.year, local.month, local.day, local.hour, local.minute};
            candidate.notAfterProblem = fileMinute > m_problemMinute ? 0 : 1;
        }
        return candidate;
    }

    void scan(const std::string& folder, const std::string& relative,
              const std::vector<platform::FolderEntry>& entries)
    {
        std::vector<FileCandidate>& table = m_engine.candidates;
        table.clear();
        for (const platform::FolderEntry& entry : entries) {
            if (isCandidate(entry))
                table.push_back(candidateOf(entry));
        }
        sortCandidates(table);
        if (m_fileCount <= 0 || table.empty())
            return;

        long long newest = 0; // the highest position not after the problem
        for (std::size_t position = table.size(); position-- > 0;) {
            if (table[position].notAfterProblem == 1) {
                newest = static_cast<long long>(position);
                break;
            }
        }
        const long long first = newest >= m_fileCount ? newest - m_fileCount + 1 : 0;
        const long long last =
            std::min(newest >= m_fileCount ? newest : m_fileCount - 1, static_cast<long long>(table.size()) - 1);

        std::string targetFolder = m_packageFolder;
        if (m_recursive) {
            targetFolder += relative;
            makeFolderPath(targetFolder);
        }
        for (long long position = first; position <= last; ++position) {
            const std::string& name = table[static_cast<std::size_t>(position)].name;
            copyFile(folder + name, targetFolder + name);
        }
    }

    CollectionEngine& m_engine;
    const long long m_fileCount;
    const bool m_recursive;
    const Minute m_problemMinute;
    const std::string m_packageFolder;
    std::string m_prefix;
    std::string m_suffix;
};

} // namespace

void CollectionEngine::gatherFileRule(const std::string& rule)
{
    const PackageStore& packageStore = store();
    std::string field;
    const long long fileCount = readInteger(packageStore.GetField(rule, 0, ',', field));
    const bool recursive = readInteger(packageStore.GetField(rule, 1, ',', field)) != 0;
    const std::string folder = packageStore.GetField(rule, 2, ',', field);
    const std::string format = packageStore.GetField(rule, 3, ',', field);

    if (format == "*.*") {
        copyFolderTree(folder, workFolder + "\\" + currentPackage + "\\" + relativeFolderOf(folder),
                       recursive);
        return;
    }
    RuleGathering(*this, fileCount, recursive, format).gather(folder);
}
