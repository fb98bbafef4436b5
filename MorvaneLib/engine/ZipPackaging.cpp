// Zip packaging of a run: the working folder packed into the archive beside it, and the
// retention rule that trims the old archives of the local output folder before a run.
//
// The archive's results do not stop the run. An entry the writer leaves out (a source that
// cannot be opened, a name or a size the container cannot hold) is logged, and the archive
// stays valid without it. When the archive itself cannot be written whole, packWorkFolder
// records the failure in zipResult, the run keeps its working folder, and the failure is logged
// and, in an attended run, shown.
#include "engine/CandidateOrder.h"
#include "engine/CollectionEngine.h"
#include "platform/FileSystem.h"
#include "platform/FileTime.h"
#include "platform/MessageBox.h"
#include "platform/Path.h"
#include "store/PackageStore.h"
#include "zip/ZipArchiveWriter.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

const std::string PasswordMarkerPrefix = " -PASSWORD=";

// Archives counted before the old ones are trimmed, and how many of them are kept.
constexpr int RetentionThreshold = 8;
constexpr std::size_t KeptArchives = RetentionThreshold + 1;

std::string resultCode(ZipResult result)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(result));
    return text;
}

// Results that leave the archive valid without the entry; any other failure means the archive
// file itself could not be written as it should.
bool leavesArchiveWhole(ZipResult result)
{
    switch (result) {
    case ZipOk:
    case ZipNoFile:
    case ZipBadArguments:
    case ZipCannotCorrect:
    case ZipTooLarge:
        return true;
    default:
        return false;
    }
}

bool beginsWithDot(const std::string& name)
{
    return !name.empty() && name.front() == '.';
}

// The password: "Password Value" when "Password Enable" is "1", else none.
std::string archivePassword(const PackageStore& store, const std::string& settingsPath)
{
    std::string enable;
    std::string password;
    if (store.ReadSetting(settingsPath, "Password Enable", enable) && enable == "1")
        store.ReadSetting(settingsPath, "Password Value", password);
    return password;
}

// Leaves an empty file named after the password in the working folder. A password holding a
// path separator cannot name one file there, and would lead the name out of the folder.
void createPasswordMarker(const PackageStore& store, const std::string& workFolder, const std::string& password)
{
    if (password.find_first_of("\\/") != std::string::npos) {
        store.AppendLogLine("No password marker in '" + workFolder
                                + "': the password holds \"\\\" or \"/\", which no file name can hold",
                            false);
        return;
    }
    if (!platform::appendToFile(workFolder + "\\" + PasswordMarkerPrefix + password, ""))
        store.AppendLogLine("No password marker in '" + workFolder + "': the file could not be created", false);
}

// One archive being filled from a folder tree.
class Packing {
public:
    Packing(const PackageStore& store, std::string zipPath, const std::string& password)
        : m_store(store), m_zipPath(std::move(zipPath)), m_writer(ZipArchiveWriter::Create(m_zipPath, password))
    {
        if (m_writer == ZipArchiveWriter::Handle::None)
            m_failure = ZipArchiveWriter::LastResult();
    }

    bool created() const { return m_writer != ZipArchiveWriter::Handle::None; }

    // Adds the folder's entries depth-first in listing order, each folder entry before its
    // contents, leaving out names that begin with ".". relativeFolder is the folder's name in
    // the archive followed by "\", or empty for the top.
    void addContents(const std::string& folder, const std::string& relativeFolder)
    {
        std::vector<platform::FolderEntry> entries;
        if (!platform::listFolder(folder, entries)) {
            m_store.AppendLogLine("Folder '" + folder + "' could not be listed: its contents are left out of archive '"
                                      + m_zipPath + "'",
                                  false);
            return;
        }
        for (const platform::FolderEntry& entry : entries) {
            if (beginsWithDot(entry.name))
                continue;
            const std::string path = folder + "\\" + entry.name;
            const std::string name = relativeFolder + entry.name;
            if (entry.info.kind == platform::EntryKind::Folder) {
                note(ZipArchiveWriter::AddFolder(m_writer, name), "Folder", path);
                addContents(path, name + "\\");
            } else {
                note(ZipArchiveWriter::AddFile(m_writer, name, path), "File", path);
            }
        }
    }

    // Closes the archive; the first result that kept it from being written whole, or ZipOk.
    ZipResult finish()
    {
        if (created()) {
            const ZipResult closed = ZipArchiveWriter::Close(m_writer);
            if (closed != ZipOk && m_failure == ZipOk)
                m_failure = closed;
        }
        return m_failure;
    }

private:
    void note(ZipResult result, const char* kind, const std::string& path)
    {
        if (result == ZipOk)
            return;
        if (!leavesArchiveWhole(result) && m_failure == ZipOk)
            m_failure = result;
        m_store.AppendLogLine(std::string(kind) + " '" + path + "' left out of archive '" + m_zipPath + "' (result "
                                  + resultCode(result) + ")",
                              false);
    }

    const PackageStore& m_store;
    std::string m_zipPath;
    ZipArchiveWriter::Handle m_writer;
    ZipResult m_failure = ZipOk;
};

// A counted archive of the retention table: its name and the upper 32 bits of its last-write
// time, so times compare in steps of 2^32 x 100 ns (about 429.5 seconds).
struct RetainedArchive {
    std::string name;
    std::uint32_t time = 0;
};

bool countsForRetention(const std::string& name)
{
    if (beginsWithDot(name) || name.size() < 3)
        return false;
    return platform::sameNameIgnoringCase(std::string_view(name).substr(name.size() - 3), "zip");
}

// An entry gone since it was listed counts as the oldest; deleting it fails harmlessly.
std::uint32_t retentionTime(const std::string& path)
{
    std::uint64_t fileTime = 0;
    platform::getLastWriteFileTime(path, fileTime);
    return static_cast<std::uint32_t>(fileTime >> 32);
}

void sortByTime(std::vector<RetainedArchive>& table)
{
    std::vector<std::uint32_t> times;
    for (const RetainedArchive& archive : table)
        times.push_back(archive.time);
    std::vector<RetainedArchive> sorted;
    for (const std::size_t index : exchangeSortOrder(times))
        sorted.push_back(table[index]);
    table = std::move(sorted);
}

// Places a later arrival into the full, sorted table: at the newest position whose time is
// smaller than its own, the older entries moving down and the oldest dropping out. An arrival
// no newer than every kept one is not kept, so equal times favour the entry listed first.
void placeArrival(std::vector<RetainedArchive>& table, const RetainedArchive& arrival)
{
    for (std::size_t position = table.size(); position-- > 0;) {
        if (table[position].time < arrival.time) {
            std::move(table.begin() + 1, table.begin() + static_cast<std::ptrdiff_t>(position) + 1, table.begin());
            table[position] = arrival;
            return;
        }
    }
}

// The path of an entry listed in a folder named by a path text that may lack its backslash.
std::string entryPath(const std::string& folder, const std::string& name)
{
    const bool separated = folder.back() == '\\' || folder.back() == '/';
    return folder + (separated ? "" : "\\") + name;
}

} // namespace

void CollectionEngine::packWorkFolder()
{
    const PackageStore& packageStore = store();
    const std::string password = archivePassword(packageStore, settingsPath);
    if (!password.empty())
        createPasswordMarker(packageStore, workFolder, password);

    zipPath = workFolder + ".zip";
    Packing packing(packageStore, zipPath, password);
    if (packing.created())
        packing.addContents(workFolder, "");
    const ZipResult failure = packing.finish();
    zipResult = failure;
    if (failure != ZipOk) {
        packageStore.ReportMessage("ZIP ERROR !!!  Archive '" + zipPath + "' could not be written whole (result "
                                       + resultCode(failure) + "); the collected files stay in '" + workFolder + "'",
                                   MB_OK | MB_ICONERROR, unattended == 0, false);
    }
}

void CollectionEngine::applyRetention()
{
    // An empty output folder is the working directory, where the archives then lie.
    const std::string folder = localDirectory.empty() ? ".\\" : localDirectory;
    std::vector<platform::FolderEntry> entries;
    if (!platform::listFolder(folder, entries))
        return;

    std::vector<RetainedArchive> table;
    int counted = 0;
    for (const platform::FolderEntry& entry : entries) {
        if (!countsForRetention(entry.name))
            continue;
        ++counted;
        const RetainedArchive arrival{entry.name, retentionTime(entryPath(folder, entry.name))};
        if (table.size() < KeptArchives) {
            table.push_back(arrival);
            continue;
        }
        if (static_cast<std::size_t>(counted) == KeptArchives + 1)
            sortByTime(table);
        placeArrival(table, arrival);
    }
    if (counted < RetentionThreshold)
        return;

    if (!platform::listFolder(folder, entries))
        return;
    for (const platform::FolderEntry& entry : entries) {
        if (!countsForRetention(entry.name))
            continue;
        const bool kept = std::any_of(table.begin(), table.end(), [&](const RetainedArchive& archive) {
            return platform::sameNameIgnoringCase(archive.name, entry.name);
        });
        if (!kept)
            platform::deleteFile(entryPath(folder, entry.name));
    }
}
