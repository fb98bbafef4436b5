// Speed and memory of file gathering on large folders.
//
// Fills a temporary folder with 10,000 and then 100,000 empty log files whose modification
// times fall on the minutes of one day (so many share a time), and gathers a rule of 10 files
// on each, best of several rounds, beside the folder listing alone. Then sorts candidate tables
// of 10,000, 100,000 and 1,000,000 entries alone. After each step it reports the process's peak
// resident memory.
//
//   GatheringBench [--rounds N] [--keep]
#include "engine/CandidateOrder.h"
#include "engine/CollectionEngine.h"
#include "platform/FileSystem.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <time.h>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int FilesPerRule = 10;

double peakMiB()
{
    struct rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

double threadCpuMilliseconds()
{
    struct timespec now {};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// The best wall time and the best processor time of the rounds, in milliseconds. On a machine
// that others share, the processor time is the steadier of the two.
struct Timing {
    double wall = 1e300;
    double cpu = 1e300;
};

Timing bestOf(int rounds, const std::function<void()>& prepare, const std::function<void()>& work)
{
    Timing best;
    for (int round = 0; round < rounds; ++round) {
        prepare();
        const auto wallStart = Clock::now();
        const double cpuStart = threadCpuMilliseconds();
        work();
        best.cpu = std::min(best.cpu, threadCpuMilliseconds() - cpuStart);
        best.wall = std::min(best.wall, std::chrono::duration<double, std::milli>(Clock::now() - wallStart).count());
    }
    return best;
}

std::time_t localMoment(int hour, int minute)
{
    std::tm parts{};
    parts.tm_year = 2024 - 1900;
    parts.tm_mon = 4;
    parts.tm_mday = 10;
    parts.tm_hour = hour;
    parts.tm_min = minute;
    parts.tm_isdst = -1;
    return std::mktime(&parts);
}

std::string windowsText(const fs::path& absolute)
{
    std::string text = "C:" + absolute.string();
    std::replace(text.begin(), text.end(), '/', '\\');
    return text;
}

// count empty files named trace-N.log, each modified on a random minute of the day.
void fillFolder(const fs::path& folder, int count, std::mt19937& random)
{
    fs::create_directories(folder);
    std::uniform_int_distribution<int> minuteOfDay(0, 24 * 60 - 1);
    const std::time_t midnight = localMoment(0, 0);
    for (int index = 0; index < count; ++index) {
        const fs::path file = folder / ("trace-" + std::to_string(index) + ".log");
        const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0) {
            std::perror(file.c_str());
            std::exit(1);
        }
        const std::time_t modified = midnight + 60 * minuteOfDay(random);
        const struct timespec times[2] = {{modified, 0}, {modified, 0}};
        ::futimens(fd, times);
        ::close(fd);
    }
}

void benchGathering(const fs::path& top, int count, int rounds, std::mt19937& random)
{
    const fs::path source = top / ("folder-" + std::to_string(count));
    const auto fillStart = Clock::now();
    fillFolder(source, count, random);
    std::printf("  %7d files made in %.0f ms\n", count,
                std::chrono::duration<double, std::milli>(Clock::now() - fillStart).count());

    const std::string folderText = windowsText(source) + "\\";
    const Timing listing = bestOf(rounds, [] {}, [&] {
        std::vector<platform::FolderEntry> entries;
        platform::listFolder(folderText, entries);
    });

    CollectionEngine engine;
    engine.workFolder = windowsText(top / "work");
    engine.currentPackage = "pkg";
    engine.problemTime = "2024_05_10_12_30";
    fs::create_directories(top / "work" / "pkg");
    const std::string rule = std::to_string(FilesPerRule) + ",0," + folderText + ",*.log";
    const Timing gathering = bestOf(rounds, [] {}, [&] { engine.gatherFileRule(rule); });
    std::size_t copied = 0;
    for (const auto& entry : fs::directory_iterator(top / "work" / "pkg")) {
        (void)entry;
        ++copied;
    }
    std::printf("  %7d candidates: gather %.1f ms wall, %.1f ms processor (listing alone %.1f ms wall, "
                "%.1f ms processor); %zu copied, table of %zu, peak memory %.1f MiB\n",
                count, gathering.wall, gathering.cpu, listing.wall, listing.cpu, copied,
                engine.candidates.size(), peakMiB());
    fs::remove_all(top / "work" / "pkg");
}

void benchSorting(int count, int rounds, std::mt19937& random)
{
    std::uniform_int_distribution<std::uint32_t> minuteOfDay(0, 24 * 60 - 1);
    std::vector<FileCandidate> table(static_cast<std::size_t>(count));
    for (int index = 0; index < count; ++index) {
        table[static_cast<std::size_t>(index)].name = "trace-" + std::to_string(index) + ".log";
        table[static_cast<std::size_t>(index)].time = 1715299200u + 60u * minuteOfDay(random);
    }
    std::vector<FileCandidate> copy;
    const Timing sorting = bestOf(rounds, [&] { copy = table; }, [&] { sortCandidates(copy); });
    std::printf("  %7d entries: sort %.1f ms wall, %.1f ms processor, peak memory %.1f MiB\n", count,
                sorting.wall, sorting.cpu, peakMiB());
}

} // namespace

int main(int argc, char** argv)
{
    int rounds = 3;
    bool keep = false;
    for (int at = 1; at < argc; ++at) {
        const std::string argument = argv[at];
        if (argument == "--rounds" && at + 1 < argc)
            rounds = std::max(1, std::atoi(argv[++at]));
        else if (argument == "--keep")
            keep = true;
        else {
            std::fprintf(stderr, "usage: %s [--rounds N] [--keep]\n", argv[0]);
            return 2;
        }
    }

    char pattern[] = "/tmp/morvane-gathering-bench-XXXXXX";
    if (::mkdtemp(pattern) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    const fs::path top = pattern;
    std::mt19937 random(20240510);

    std::printf("Gathering one folder, %d files per rule, best of %d rounds (peak memory %.1f MiB at start)\n",
                FilesPerRule, rounds, peakMiB());
    for (int count : {10000, 100000})
        benchGathering(top, count, rounds, random);

    std::printf("Sorting the candidate table alone, best of %d rounds\n", rounds);
    for (int count : {10000, 100000, 1000000})
        benchSorting(count, rounds, random);

    if (keep)
        std::printf("Folders kept in %s\n", top.c_str());
    else
        fs::remove_all(top);
    return 0;
}
