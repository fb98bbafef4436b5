#include "engine/CollectionEngine.h"

#include "SpecialFiles.h"
#include "WorkingFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::time_t localMoment(int year, int month, int day, int hour, int minute, int second)
{
    std::tm parts{};
    parts.tm_year = year - 1900;
    parts.tm_mon = month - 1;
    parts.tm_mday = day;
    parts.tm_hour = hour;
    parts.tm_min = minute;
    parts.tm_sec = second;
    parts.tm_isdst = -1;
    return std::mktime(&parts);
}

// On 10 May 2024, half a minute past the given hour and minute.
std::time_t onTheDay(int hour, int minute = 0)
{
    return localMoment(2024, 5, 10, hour, minute, 30);
}

bool setModified(const fs::path& path, std::time_t seconds)
{
    const struct timespec times[2] = {{seconds, 0}, {seconds, 0}};
    return ::utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
}

void writeFile(const fs::path& path, const std::string& bytes, std::time_t modified)
{
    fs::create_directories(path.parent_path());
    FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr) << path;
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    ASSERT_TRUE(setModified(path, modified)) << path;
}

std::time_t modifiedOf(const fs::path& path)
{
    struct stat status {};
    ::stat(path.c_str(), &status);
    return status.st_mtime;
}

// "C:" followed by the absolute path with backslashes.
std::string windowsText(const fs::path& absolute)
{
    std::string text = "C:" + absolute.string();
    std::replace(text.begin(), text.end(), '/', '\\');
    return text;
}

std::string ruleText(int fileCount, int recursive, const std::string& folder, const std::string& format)
{
    return std::to_string(fileCount) + "," + std::to_string(recursive) + "," + folder + "," + format;
}

// Every entry below root that is not a folder, as relative paths with "/".
std::set<std::string> filesBelow(const fs::path& root)
{
    std::set<std::string> files;
    if (!fs::is_directory(root))
        return files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (!entry.is_directory())
            files.insert(fs::relative(entry.path(), root).generic_string());
    }
    return files;
}

std::set<std::string> foldersBelow(const fs::path& root)
{
    std::set<std::string> folders;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.is_directory())
            folders.insert(fs::relative(entry.path(), root).generic_string());
    }
    return folders;
}

// A run's engine at the point where a package's file rules are gathered: the working folder
// ".\work" with the package folder "pkg" made.
class FileGathering : public ::testing::Test {
protected:
    void SetUp() override
    {
        engine.workFolder = ".\\work";
        engine.currentPackage = "pkg";
        engine.problemTime = "2024_05_10_12_30";
        fs::create_directories(packageFolder());
    }

    fs::path packageFolder() const { return folder.path() / "work" / "pkg"; }

    // Where a recursive or whole-folder copy of an absolute source folder lands.
    fs::path underPackage(const fs::path& absolute) const { return packageFolder() / absolute.relative_path(); }

    // Files at 10:00, 11:00, 12:00, 13:00 and 14:00, listed in another order than their times.
    fs::path hourlyFolder(const std::string& name) const
    {
        const fs::path logs = folder.path() / name;
        const std::vector<std::pair<std::string, int>> files = {
            {"d13.log", 13}, {"a12.log", 12}, {"e10.log", 10}, {"b14.log", 14}, {"c11.log", 11}};
        for (const auto& [file, hour] : files)
            writeFile(logs / file, file, onTheDay(hour));
        return logs;
    }

    testsupport::WorkingFolder folder;
    CollectionEngine engine;
};

TEST_F(FileGathering, SelectsTheWindowOfFilesEndingAtTheProblem)
{
    struct Case {
        const char* name;
        std::string problemTime;
        int fileCount;
        int recursive;
        std::set<std::string> copied; // below the package folder (recursive: its relative folder)
    };
    const fs::path logs = hourlyFolder("Logs");
    const std::vector<Case> cases = {
        {"problem 12:30, N 2", "2024_05_10_12_30", 2, 0, {"c11.log", "a12.log"}},
        {"problem 12:30, N 4: k is below N", "2024_05_10_12_30", 4, 0,
         {"e10.log", "c11.log", "a12.log", "d13.log"}},
        {"every file newer than the problem", "2024_05_10_09_00", 2, 0, {"e10.log", "c11.log"}},
        {"the same minute is not after", "2024_05_10_12_00", 1, 0, {"a12.log"}},
        {"N 0", "2024_05_10_12_30", 0, 0, {}},
        {"negative N", "2024_05_10_12_30", -3, 0, {}},
        {"N beyond the table", "2024_05_10_23_59", 9, 0,
         {"e10.log", "c11.log", "a12.log", "d13.log", "b14.log"}},
        {"a later day outweighs an earlier hour", "2024_05_11_09_00", 1, 0, {"b14.log"}},
        {"an earlier year outweighs a later month", "2023_12_31_23_59", 1, 0, {"e10.log"}},
        {"fields compare as numbers, not as text", "2024_5_10_12_30", 1, 0, {"a12.log"}},
        {"recursive N 2", "2024_05_10_12_30", 2, 1, {"c11.log", "a12.log"}},
        {"recursive N 0 makes no folder", "2024_05_10_12_30", 0, 1, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(packageFolder());
        fs::create_directories(packageFolder());
        engine.problemTime = c.problemTime;
        engine.gatherFileRule(ruleText(c.fileCount, c.recursive, windowsText(logs) + "\\", "*.log"));

        const fs::path target = c.recursive ? underPackage(logs) : packageFolder();
        EXPECT_EQ(filesBelow(packageFolder()).size(), c.copied.size());
        EXPECT_EQ(filesBelow(target), c.copied);
        if (c.copied.empty()) {
            EXPECT_TRUE(fs::is_empty(packageFolder()));
        }
    }
}

TEST_F(FileGathering, MatchesThePlainEndOfNamesWithoutRegardToCase)
{
    struct Case {
        const char* format;
        std::set<std::string> copied;
    };
    const fs::path source = folder.path() / "mixed";
    for (const char* name : {"catalog", "Notes.TXT", "app.txt", "application.txt", "myapp.txt", "readme",
                             "readme.txt", ".hidden.log", "trace.log", "trace.log.1"})
        writeFile(source / name, name, onTheDay(10));
    const std::vector<Case> cases = {
        {"*.log", {"catalog", "trace.log"}},
        {"*.txt", {"Notes.TXT", "app.txt", "application.txt", "myapp.txt", "readme.txt"}},
        {"APP*.TXT", {"app.txt", "application.txt"}},
        {"readme", {"readme"}},
        {"trace.*", {"catalog", "Notes.TXT", "app.txt", "application.txt", "myapp.txt", "readme",
                     "readme.txt", "trace.log", "trace.log.1"}},
        {"*.log.1", {"catalog", "trace.log"}},
        {"none", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.format);
        fs::remove_all(packageFolder());
        fs::create_directories(packageFolder());
        engine.gatherFileRule(ruleText(20, 0, windowsText(source) + "\\", c.format));
        EXPECT_EQ(filesBelow(packageFolder()), c.copied);
    }
}

TEST_F(FileGathering, FoldersDoNotTakePlacesInTheWindow)
{
    const fs::path source = folder.path() / "logs";
    writeFile(source / "a.log", "a", onTheDay(10));
    writeFile(source / "b.log", "b", onTheDay(11));
    fs::create_directories(source / "c.log");
    ASSERT_TRUE(setModified(source / "c.log", onTheDay(11, 30)));

    engine.gatherFileRule(ruleText(2, 0, windowsText(source) + "\\", "*.log"));
    EXPECT_EQ(filesBelow(packageFolder()), (std::set<std::string>{"a.log", "b.log"}));
    EXPECT_EQ(foldersBelow(packageFolder()), std::set<std::string>{});
}

TEST_F(FileGathering, EqualTimesTakeTheOrderOfTheExchangeSort)
{
    // Listed a, b, c at 10:00 and d at 11:00, after the problem. The exchange sort leaves
    // b, c, a, d, so the newest position not after the problem holds a (a stable sort would
    // put c there).
    const fs::path source = folder.path() / "ties";
    writeFile(source / "a.log", "a", onTheDay(10));
    writeFile(source / "b.log", "b", onTheDay(10));
    writeFile(source / "c.log", "c", onTheDay(10));
    writeFile(source / "d.log", "d", onTheDay(11));
    engine.problemTime = "2024_05_10_10_30";

    engine.gatherFileRule(ruleText(1, 0, windowsText(source) + "\\", "*.log"));
    EXPECT_EQ(filesBelow(packageFolder()), std::set<std::string>{"a.log"});
}

TEST_F(FileGathering, KeepsEveryCandidateOfALargeFolder)
{
    // Listed in the order of their times, one minute apart from 00:00.
    const fs::path source = folder.path() / "many";
    for (int index = 0; index < 150; ++index) {
        const std::string digits = std::to_string(index);
        const std::string name = "f" + std::string(3 - digits.size(), '0') + digits + ".log";
        writeFile(source / name, name, onTheDay(0) + 60 * index);
    }
    engine.problemTime = "2024_05_10_02_19"; // minute 139 of the day

    engine.gatherFileRule(ruleText(3, 0, windowsText(source) + "\\", "*.log"));
    EXPECT_EQ(filesBelow(packageFolder()), (std::set<std::string>{"f137.log", "f138.log", "f139.log"}));
    EXPECT_EQ(engine.candidates.size(), 150u);
}

TEST_F(FileGathering, TimeWithoutALocalMinuteCountsAsNotAfterTheProblem)
{
    // A time far beyond any calendar year fits only a file system that keeps 64-bit times.
    char pattern[] = "/dev/shm/morvane-gathering-XXXXXX";
    if (::mkdtemp(pattern) == nullptr)
        GTEST_SKIP() << "no /dev/shm";
    const fs::path source = pattern;
    writeFile(source / "a12.log", "a", onTheDay(12));
    writeFile(source / "far.log", "far", onTheDay(9));
    constexpr std::time_t farAway = 100000000000000000;
    const bool kept = setModified(source / "far.log", farAway) && modifiedOf(source / "far.log") == farAway;
    if (kept) {
        engine.gatherFileRule(ruleText(1, 0, windowsText(source) + "\\", "*.log"));
        EXPECT_EQ(filesBelow(packageFolder()), std::set<std::string>{"far.log"});
    }
    fs::remove_all(source);
    if (!kept)
        GTEST_SKIP() << "the file system does not keep such times";
}

TEST_F(FileGathering, CopiesKeepTheTimeReadToTheEndAndOverwrite)
{
    const fs::path logs = hourlyFolder("Logs");
    folder.write("work/pkg/a12.log", "an older copy that is longer");
    engine.gatherFileRule(ruleText(1, 0, windowsText(logs) + "\\", "*.log"));
    EXPECT_EQ(folder.read("work/pkg/a12.log"), "a12.log");
    EXPECT_EQ(modifiedOf(packageFolder() / "a12.log"), onTheDay(12));

    // Files under /proc report a size of 0 but have content.
    engine.problemTime = "2999_12_31_23_59";
    engine.gatherFileRule(ruleText(1, 0, "C:\\proc\\self\\", "status"));
    EXPECT_NE(folder.read("work/pkg/status").find("Name:"), std::string::npos);
}

TEST_F(FileGathering, RecursiveRulesKeepTheFolderStructure)
{
    const fs::path logs = folder.path() / "Logs";
    writeFile(logs / "App" / "trace.log", "trace", onTheDay(10));
    writeFile(logs / "App" / "Deep" / "deep.log", "deep", onTheDay(10));
    writeFile(logs / ".cache" / "hidden.log", "hidden", onTheDay(10));
    writeFile(logs / "top.log", "top", onTheDay(10));

    engine.gatherFileRule(ruleText(5, 1, windowsText(logs) + "\\", "*.log"));
    const std::string relative = logs.relative_path().generic_string() + "/";
    EXPECT_EQ(filesBelow(packageFolder()),
              (std::set<std::string>{relative + "App/trace.log", relative + "App/Deep/deep.log", relative + "top.log"}));
    EXPECT_EQ(folder.read(underPackage(logs / "App/trace.log")), "trace");
}

// Records the files that arrive in watched folders, in the order they arrive.
class ArrivalJournal {
public:
    ArrivalJournal() : m_fd(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {}
    ~ArrivalJournal() { ::close(m_fd); }
    ArrivalJournal(const ArrivalJournal&) = delete;
    ArrivalJournal& operator=(const ArrivalJournal&) = delete;

    void watch(const fs::path& folder, const std::string& label)
    {
        m_labels[::inotify_add_watch(m_fd, folder.c_str(), IN_CREATE | IN_MOVED_TO)] = label;
    }

    // "label/name" for every file that arrived, leaving out dot-named temporary files.
    std::vector<std::string> arrivals() const
    {
        std::vector<std::string> seen;
        alignas(struct inotify_event) char buffer[4096];
        for (ssize_t got; (got = ::read(m_fd, buffer, sizeof buffer)) > 0;) {
            for (char* at = buffer; at < buffer + got;) {
                const auto* event = reinterpret_cast<const struct inotify_event*>(at);
                const std::string name = event->len > 0 ? event->name : "";
                if ((event->mask & IN_ISDIR) == 0 && !name.empty() && name.front() != '.')
                    seen.push_back(m_labels.at(event->wd) + "/" + name);
                at += sizeof(struct inotify_event) + event->len;
            }
        }
        return seen;
    }

private:
    int m_fd;
    std::map<int, std::string> m_labels;
};

TEST_F(FileGathering, WalksEachSubfolderAfterItsOwnSubfolders)
{
    const fs::path root = folder.path() / "R";
    for (const char* sub : {"", "A", "A/A1", "B"})
        writeFile(root / sub / "x.log", sub, onTheDay(10));

    ArrivalJournal journal;
    for (const char* sub : {"", "A", "A/A1", "B"}) {
        fs::create_directories(underPackage(root / sub));
        journal.watch(underPackage(root / sub), std::string("R") + (*sub ? "/" : "") + sub);
    }
    engine.gatherFileRule(ruleText(1, 1, windowsText(root) + "\\", "*.log"));
    EXPECT_EQ(journal.arrivals(), (std::vector<std::string>{"R/x.log", "R/A/A1/x.log", "R/A/x.log", "R/B/x.log"}));
}

TEST_F(FileGathering, WholeFolderCopiesLandUnderTheRelativeFolder)
{
    struct Case {
        const char* name;
        std::string folder;
        int recursive;
        std::set<std::string> copied; // below the package folder
    };
    const fs::path logs = folder.path() / "Logs";
    writeFile(logs / "a.log", "a", onTheDay(10));
    writeFile(logs / "b.txt", "b", onTheDay(14));
    writeFile(logs / ".hidden", "h", onTheDay(10));
    writeFile(logs / "App" / "c.log", "c", onTheDay(11));
    const std::string relative = logs.relative_path().generic_string() + "/";
    const std::vector<Case> cases = {
        {"plain rule", windowsText(logs) + "\\", 0, {relative + "a.log", relative + "b.txt"}},
        {"recursive rule", windowsText(logs) + "\\", 1,
         {relative + "a.log", relative + "b.txt", relative + "App/c.log"}},
        {"missing folder", windowsText(folder.path() / "Missing") + "\\", 1, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(packageFolder());
        fs::create_directories(packageFolder());
        engine.gatherFileRule(ruleText(0, c.recursive, c.folder, "*.*"));
        EXPECT_EQ(filesBelow(packageFolder()), c.copied);
    }
    EXPECT_TRUE(fs::is_directory(underPackage(folder.path() / "Missing")));
}

TEST_F(FileGathering, CopiesNeverLeaveThePackageFolder)
{
    struct Case {
        const char* name;
        std::string folder;
        std::string format;
        std::set<std::string> copied; // below the package folder
        const char* madeFolder;       // below the package folder; nullptr: none
    };
    const fs::path logs = folder.path() / "logs";
    writeFile(logs / "app.log", "app", onTheDay(10));
    const std::string relative = logs.relative_path().generic_string() + "/";
    const std::string climbing = "C:\\..\\..\\..\\..\\..\\..\\..\\.." + windowsText(logs).substr(2) + "\\";
    const std::vector<Case> cases = {
        {"relative folder", ".\\logs\\", "*.log", {"logs/app.log"}, nullptr},
        {"relative whole folder", ".\\logs\\", "*.*", {"logs/app.log"}, nullptr},
        {"relative without a dot", "logs\\", "*.*", {"logs/app.log"}, nullptr},
        {"climbing above the root", climbing, "*.log", {relative + "app.log"}, nullptr},
        {"climbing whole folder", climbing, "*.*", {relative + "app.log"}, nullptr},
        {"network path", "\\\\host\\share\\logs\\", "*.*", {}, "host/share/logs"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(folder.path() / "work");
        fs::create_directories(packageFolder());
        engine.gatherFileRule(ruleText(3, 1, c.folder, c.format));
        EXPECT_EQ(filesBelow(packageFolder()), c.copied);
        EXPECT_EQ(filesBelow(folder.path() / "work").size(), c.copied.size());
        EXPECT_EQ(filesBelow(logs), std::set<std::string>{"app.log"});
        if (c.madeFolder) {
            EXPECT_TRUE(fs::is_directory(packageFolder() / c.madeFolder));
        }
    }
}

TEST_F(FileGathering, SkipsNamesThatHoldABackslash)
{
    const fs::path logs = folder.path() / "logs";
    writeFile(logs / "plain.log", "plain", onTheDay(10));
    writeFile(logs / "odd\\name.log", "odd", onTheDay(11));
    writeFile(logs / "sub\\dir" / "inner.log", "inner", onTheDay(11));

    engine.gatherFileRule(ruleText(5, 1, ".\\logs\\", "*.log"));
    EXPECT_EQ(filesBelow(packageFolder()), std::set<std::string>{"logs/plain.log"});
}

TEST_F(FileGathering, FifosAndLinkLoopsDoNotHoldUpTheRun)
{
    const fs::path logs = folder.path() / "logs";
    writeFile(logs / "real.log", "real", onTheDay(10));
    writeFile(folder.path() / "elsewhere" / "target.txt", "linked", onTheDay(11));
    testsupport::makeFifo(logs / "pipe.log");
    fs::create_directory_symlink(".", logs / "loop");
    fs::create_directory_symlink("..", logs / "up.log");
    fs::create_symlink("../elsewhere/target.txt", logs / "linked.log");
    fs::create_symlink("missing.txt", logs / "dangling.log");

    for (const char* format : {"*.log", "*.*"}) {
        SCOPED_TRACE(format);
        fs::remove_all(packageFolder());
        fs::create_directories(packageFolder());
        engine.gatherFileRule(ruleText(10, 1, ".\\logs\\", format));
        EXPECT_EQ(filesBelow(packageFolder()), (std::set<std::string>{"logs/linked.log", "logs/real.log"}));
        EXPECT_EQ(folder.read("work/pkg/logs/linked.log"), "linked");
    }
}

} // namespace
