// Packing speed and memory of the zip archive writer.
//
// Generates a corpus of about 300 MB of varied text logs in about 2,000 files (a few KB to
// 50 MB) plus some already-compressed files in a temporary folder, then packs it side by side
// with the archive writer, Info-ZIP's "zip -8 -r" and a bare zlib level-8 raw deflate loop over
// the bytes the writer deflates, best of several interleaved rounds. Then packs a sparse 2 GiB
// file in a fresh process and reports that process's peak resident memory.
//
//   ZipBench [--rounds N] [--keep]
#include "platform/BinaryFile.h"
#include "platform/FileSystem.h"
#include "zip/ZipArchiveWriter.h"

#include <zlib.h>

#include <sys/resource.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr std::size_t BlockSize = 16384;
constexpr double MB = 1e6;
constexpr double MiB = 1024.0 * 1024.0;

// ---------------------------------------------------------------------------------------------
// Corpus

class LogWriter {
public:
    explicit LogWriter(std::uint64_t seed) : m_random(seed)
    {
        for (std::uint64_t& id : m_sessions)
            id = m_random();
    }

    // Appends lines of one of several log styles until the text holds size bytes.
    std::string text(std::size_t size, int style)
    {
        std::string out;
        out.reserve(size + 512);
        while (out.size() < size)
            line(out, style);
        out.resize(size);
        return out;
    }

    std::string randomBytes(std::size_t size)
    {
        std::string out(size, '\0');
        for (std::size_t i = 0; i + 8 <= size; i += 8) {
            const std::uint64_t value = m_random();
            std::copy_n(reinterpret_cast<const char*>(&value), 8, out.data() + i);
        }
        return out;
    }

private:
    std::uint64_t pick(std::uint64_t count) { return m_random() % count; }

    template <typename T>
    void number(std::string& out, T value, int base = 10)
    {
        std::array<char, 24> digits;
        const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), value, base).ptr;
        out.append(digits.data(), end);
    }

    void twoDigits(std::string& out, unsigned value)
    {
        out += static_cast<char>('0' + value / 10 % 10);
        out += static_cast<char>('0' + value % 10);
    }

    void timestamp(std::string& out)
    {
        m_seconds += pick(3);
        const unsigned second = m_seconds % 60, minute = m_seconds / 60 % 60, hour = m_seconds / 3600 % 24;
        out += "2024-03-";
        twoDigits(out, 1 + m_seconds / 86400 % 28);
        out += ' ';
        twoDigits(out, hour);
        out += ':';
        twoDigits(out, minute);
        out += ':';
        twoDigits(out, second);
        out += '.';
        number(out, 100 + pick(900));
    }

    void words(std::string& out, unsigned count)
    {
        static constexpr std::array<const char*, 48> vocabulary{
            "connection", "request", "timeout", "service", "retry", "accepted", "queue", "checksum",
            "session", "client", "server", "handshake", "certificate", "expired", "buffer", "flushed",
            "cache", "miss", "hit", "latency", "exceeded", "threshold", "worker", "started",
            "stopped", "configuration", "reloaded", "user", "login", "failed", "succeeded", "token",
            "database", "query", "rows", "returned", "transaction", "committed", "rolled", "back",
            "disk", "quota", "warning", "printer", "spooler", "driver", "update", "scheduled"};
        for (unsigned i = 0; i < count; ++i) {
            out += vocabulary[pick(vocabulary.size())];
            out += ' ';
        }
    }

    // Sessions recur through a log, as they do in real ones.
    void session(std::string& out) { number(out, m_sessions[pick(m_sessions.size())], 16); }

    void line(std::string& out, int style)
    {
        static constexpr std::array<const char*, 5> levels{"INFO ", "DEBUG", "WARN ", "ERROR", "TRACE"};
        static constexpr std::array<const char*, 6> components{
            "com.morvane.net.Transport", "com.morvane.store.Cache", "Spooler", "UpdateAgent",
            "svchost", "kernel"};
        switch (style) {
        case 0: // application log
            timestamp(out);
            out += ' ';
            out += levels[pick(levels.size())];
            out += " [worker-";
            number(out, pick(32));
            out += "] ";
            out += components[pick(components.size())];
            out += " - ";
            words(out, 3 + static_cast<unsigned>(pick(9)));
            out += "session=";
            session(out);
            out += " elapsed=";
            number(out, pick(5000));
            out += "ms\r\n";
            break;
        case 1: // system log
            out += "Mar ";
            number(out, 1 + pick(28));
            out += ' ';
            timestamp(out);
            out += " WS042 ";
            out += components[pick(components.size())];
            out += '[';
            number(out, 1000 + pick(30000));
            out += "]: ";
            words(out, 4 + static_cast<unsigned>(pick(8)));
            out += "from 10.1.";
            number(out, pick(4));
            out += '.';
            number(out, pick(32));
            out += '\n';
            break;
        case 2: // structured lines
            out += "{\"ts\":\"";
            timestamp(out);
            out += "\",\"level\":\"";
            out += levels[pick(levels.size())];
            out += "\",\"msg\":\"";
            words(out, 2 + static_cast<unsigned>(pick(6)));
            out += "\",\"session\":\"";
            session(out);
            out += "\",\"bytes\":";
            number(out, pick(4096));
            out += "}\n";
            break;
        case 3: // hex dump
            number(out, m_hexOffset, 16);
            m_hexOffset += 16;
            out += ": ";
            for (int i = 0; i < 8; ++i) {
                number(out, 0x1000 + pick(0xF000), 16);
                out += ' ';
            }
            out += " ................\n";
            break;
        default: // stack traces between events
            timestamp(out);
            out += " ERROR unhandled exception in ";
            out += components[pick(components.size())];
            out += "\r\n";
            for (unsigned depth = 0, frames = 3 + static_cast<unsigned>(pick(10)); depth < frames; ++depth) {
                out += "    at ";
                out += components[pick(components.size())];
                out += ".method";
                number(out, pick(40));
                out += "(Source";
                number(out, pick(12));
                out += ".cs:line ";
                number(out, 10 + pick(2000));
                out += ")\r\n";
            }
            break;
        }
    }

    std::mt19937_64 m_random;
    std::uint64_t m_seconds = 0;
    std::uint64_t m_hexOffset = 0;
    std::array<std::uint64_t, 64> m_sessions{};
};

struct CorpusFacts {
    std::size_t files = 0;
    std::size_t folders = 0;
    std::uint64_t bytes = 0;
    std::size_t compressedFiles = 0;
    std::uint64_t compressedBytes = 0;
};

CorpusFacts generateCorpus(const fs::path& root)
{
    static constexpr std::array<const char*, 16> folders{
        "CoreLogs/Logs/App", "CoreLogs/Logs/Service", "CoreLogs/Logs/Archive", "CoreLogs/Config",
        "Network/Traces", "Network/Firewall", "Setup/Install", "Setup/Install/Patches",
        "Crash/Dumps", "Crash/Reports", "Printing/Spooler", "Printing/Drivers",
        "Update/Agent", "Update/Agent/History", "Security/Audit", "Security/Events"};
    for (const char* folder : folders)
        fs::create_directories(root / folder);

    LogWriter writer(20240305);
    std::mt19937_64 random(7);
    CorpusFacts facts;
    std::size_t serial = 0;
    const auto place = [&](const std::string& extension, const std::string& bytes) {
        const fs::path path = root / folders[random() % folders.size()]
            / ("file" + std::to_string(serial++) + extension);
        std::ofstream(path, std::ios::binary) << bytes;
        ++facts.files;
        facts.bytes += bytes.size();
    };
    // Styles 0 to 4: application, system, structured, hex dump (rarer), stack traces.
    static constexpr std::array<int, 9> styles{0, 0, 1, 1, 2, 2, 4, 4, 3};
    const auto logOf = [&](std::size_t size) { return writer.text(size, styles[random() % styles.size()]); };

    // Text logs: a few large ones, some medium, and many small.
    for (int i = 0; i < 2; ++i)
        place(".log", logOf(50'000'000));
    for (int i = 0; i < 6; ++i)
        place(".log", logOf(12'000'000));
    for (int i = 0; i < 30; ++i)
        place(".txt", logOf(1'600'000));
    std::uniform_real_distribution<double> smallSize(std::log(2'000.0), std::log(64'000.0));
    for (int i = 0; i < 1900; ++i)
        place(i % 3 ? ".log" : ".xml", logOf(static_cast<std::size_t>(std::exp(smallSize(random)))));

    // Already-compressed data, under names the writer stores and under names it deflates.
    const auto placeCompressed = [&](const std::string& extension, std::size_t size) {
        place(extension, writer.randomBytes(size));
        ++facts.compressedFiles;
        facts.compressedBytes += size;
    };
    for (int i = 0; i < 40; ++i)
        placeCompressed(".gz", 500'000);
    for (int i = 0; i < 4; ++i)
        placeCompressed(".zip", 2'000'000);
    for (int i = 0; i < 30; ++i)
        placeCompressed(".png", 500'000);

    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it)
        facts.folders += it->is_directory() ? 1 : 0;
    return facts;
}

// ---------------------------------------------------------------------------------------------
// The walk: depth-first in listing order, a folder before its contents, as a run packs.

struct WalkEntry {
    std::string name; // relative, with backslashes
    std::string path; // full path
    bool folder = false;
};

void walk(const std::string& folder, const std::string& prefix, std::vector<WalkEntry>& entries)
{
    std::vector<platform::FolderEntry> listing;
    if (!platform::listFolder(folder, listing))
        return;
    for (const platform::FolderEntry& entry : listing) {
        if (entry.name.front() == '.')
            continue;
        const std::string name = prefix.empty() ? entry.name : prefix + "\\" + entry.name;
        const std::string path = folder + "/" + entry.name;
        const bool isFolder = entry.info.kind == platform::EntryKind::Folder;
        entries.push_back({name, path, isFolder});
        if (isFolder)
            walk(path, name, entries);
    }
}

bool storedByName(const std::string& name)
{
    std::string extension = name.substr(std::min(name.rfind('.'), name.size()));
    std::transform(extension.begin(), extension.end(), extension.begin(), [](unsigned char c) { return std::tolower(c); });
    for (const char* known : {".z", ".zip", ".zoo", ".arc", ".lzh", ".arj", ".gz", ".tgz"}) {
        if (extension == known)
            return true;
    }
    return false;
}

// ---------------------------------------------------------------------------------------------
// The three contenders

bool packWithWriter(const std::vector<WalkEntry>& entries, const fs::path& archive)
{
    ZipArchiveWriter::Handle writer = ZipArchiveWriter::Create(archive.string());
    bool ok = writer != ZipArchiveWriter::Handle::None;
    for (const WalkEntry& entry : entries) {
        const ZipResult result = entry.folder ? ZipArchiveWriter::AddFolder(writer, entry.name)
                                              : ZipArchiveWriter::AddFile(writer, entry.name, entry.path);
        ok = ok && result == ZipOk;
    }
    return ZipArchiveWriter::Close(writer) == ZipOk && ok;
}

bool packWithInfoZip(const fs::path& corpus, const fs::path& archive)
{
    fs::remove(archive);
    const std::string command = "cd '" + corpus.string() + "' && zip -q -8 -r '" + archive.string() + "' .";
    return std::system(command.c_str()) == 0;
}

bool deflateWithZlib(const std::vector<WalkEntry>& entries, std::uint64_t& compressedBytes)
{
    z_stream stream{};
    if (deflateInit2(&stream, 8, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return false;
    std::vector<unsigned char> input(BlockSize), output(BlockSize);
    compressedBytes = 0;
    bool ok = true;
    for (const WalkEntry& entry : entries) {
        if (entry.folder)
            continue;
        platform::BinaryFile file;
        if (!file.openForReading(entry.path)) {
            ok = false;
            continue;
        }
        const bool deflating = !storedByName(entry.name);
        deflateReset(&stream);
        int flush = Z_NO_FLUSH;
        while (flush != Z_FINISH) {
            std::size_t count = 0;
            if (!file.read(input.data(), input.size(), count))
                return false;
            flush = count == 0 ? Z_FINISH : Z_NO_FLUSH;
            if (!deflating) {
                compressedBytes += count;
                continue;
            }
            stream.next_in = input.data();
            stream.avail_in = static_cast<uInt>(count);
            do {
                stream.next_out = output.data();
                stream.avail_out = static_cast<uInt>(output.size());
                deflate(&stream, flush);
                compressedBytes += output.size() - stream.avail_out;
            } while (stream.avail_out == 0);
        }
    }
    deflateEnd(&stream);
    return ok;
}

// Wall-clock and processor time of one contender. On a shared machine the processor time
// (user and system, of this process or of the waited-for children) is the steadier measure.
struct Timing {
    double wall = 1e30;
    double processor = 1e30;
};

double processorSeconds(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

Timing measure(const std::function<bool()>& work, int who, bool& ok)
{
    const double processorBefore = processorSeconds(who);
    const auto start = Clock::now();
    ok = work() && ok;
    return {std::chrono::duration<double>(Clock::now() - start).count(), processorSeconds(who) - processorBefore};
}

void keepBest(Timing& best, const Timing& round)
{
    best.wall = std::min(best.wall, round.wall);
    best.processor = std::min(best.processor, round.processor);
}

// ---------------------------------------------------------------------------------------------
// Memory: one large file packed by a fresh process, which reports its own peak.

int packOne(const std::string& archive, const std::string& source)
{
    const auto start = Clock::now();
    ZipArchiveWriter::Handle writer = ZipArchiveWriter::Create(archive);
    const ZipResult added = ZipArchiveWriter::AddFile(writer, "large.log", source);
    const ZipResult closed = ZipArchiveWriter::Close(writer);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%ld %.3f %u %u\n", usage.ru_maxrss, seconds, static_cast<unsigned>(added), static_cast<unsigned>(closed));
    return added == ZipOk && closed == ZipOk ? 0 : 1;
}

bool measureLargeFile(const fs::path& folder, double& seconds, double& peakMiB)
{
    const fs::path source = folder / "large.log";
    const fs::path archive = folder / "large.zip";
    std::ofstream(source).close();
    fs::resize_file(source, std::uint64_t{2} << 30);
    const std::string command = "'" + fs::read_symlink("/proc/self/exe").string() + "' --pack '" + archive.string()
        + "' '" + source.string() + "'";
    FILE* child = ::popen(command.c_str(), "r");
    if (!child)
        return false;
    long peakKiB = 0;
    unsigned added = 0, closed = 0;
    const int fields = std::fscanf(child, "%ld %lf %u %u", &peakKiB, &seconds, &added, &closed);
    const int status = ::pclose(child);
    fs::remove(source);
    fs::remove(archive);
    peakMiB = static_cast<double>(peakKiB) / 1024.0;
    return fields == 4 && status == 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::string(argv[1]) == "--pack")
        return packOne(argv[2], argv[3]);

    int rounds = 3;
    bool keep = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--rounds" && i + 1 < argc)
            rounds = std::max(1, std::atoi(argv[++i]));
        else if (argument == "--keep")
            keep = true;
        else {
            std::cerr << "usage: ZipBench [--rounds N] [--keep]\n";
            return 2;
        }
    }

    std::string pattern = (fs::temp_directory_path() / "morvane-zipbench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
        std::cerr << "cannot create a temporary folder\n";
        return 1;
    }
    const fs::path folder = pattern;
    const fs::path corpus = folder / "corpus";

    auto start = Clock::now();
    const CorpusFacts facts = generateCorpus(corpus);
    std::vector<WalkEntry> entries;
    walk(corpus.string(), "", entries);
    std::printf("Corpus: %zu files in %zu folders, %.1f MB (%zu already-compressed files, %.1f MB), generated in %.1f s\n",
                facts.files, facts.folders, facts.bytes / MB, facts.compressedFiles, facts.compressedBytes / MB,
                std::chrono::duration<double>(Clock::now() - start).count());

    bool ok = true;
    Timing writerBest, infoZipBest, zlibBest;
    std::uint64_t zlibBytes = 0;
    for (int round = 1; round <= rounds; ++round) {
        const Timing writer = measure([&] { return packWithWriter(entries, folder / "writer.zip"); }, RUSAGE_SELF, ok);
        const Timing infoZip =
            measure([&] { return packWithInfoZip(corpus, folder / "infozip.zip"); }, RUSAGE_CHILDREN, ok);
        const Timing zlib = measure([&] { return deflateWithZlib(entries, zlibBytes); }, RUSAGE_SELF, ok);
        std::printf("Round %d (wall / processor s): writer %.2f / %.2f, zip -8 -r %.2f / %.2f, zlib loop %.2f / %.2f\n",
                    round, writer.wall, writer.processor, infoZip.wall, infoZip.processor, zlib.wall, zlib.processor);
        keepBest(writerBest, writer);
        keepBest(infoZipBest, infoZip);
        keepBest(zlibBest, zlib);
    }
    const std::string test = "unzip -tq '" + (folder / "writer.zip").string() + "' > /dev/null";
    const bool archiveValid = std::system(test.c_str()) == 0;

    const double mb = facts.bytes / MB;
    std::printf("\nBest of %d rounds over %.1f MB:       wall s  processor s  MB/s (processor)\n", rounds, mb);
    const auto row = [&](const char* label, const Timing& timing, const std::string& note) {
        std::printf("  %-30s %8.2f %12.2f %12.1f   %s\n", label, timing.wall, timing.processor, mb / timing.processor,
                    note.c_str());
    };
    const auto megabytes = [](std::uint64_t bytes) { return std::to_string(static_cast<int>(bytes / MB + 0.5)) + " MB"; };
    row("ZipArchiveWriter", writerBest,
        "archive " + megabytes(fs::file_size(folder / "writer.zip")) + (archiveValid ? ", unzip -t ok" : ", unzip -t FAILED"));
    row("zip -8 -r", infoZipBest, "archive " + megabytes(fs::file_size(folder / "infozip.zip")));
    row("zlib level-8 loop", zlibBest, "output " + megabytes(zlibBytes));
    const auto ratio = [](const char* label, const Timing& a, const Timing& b, double target) {
        const double processor = a.processor / b.processor;
        std::printf("  %-22s wall %.3f, processor %.3f (target <= %.2f: %s)\n", label, a.wall / b.wall, processor,
                    target, processor <= target ? "met" : "missed");
    };
    ratio("writer / zip -8 -r", writerBest, infoZipBest, 1.00);
    ratio("writer / zlib loop", writerBest, zlibBest, 1.10);

    double largeSeconds = 0, peakMiB = 0;
    const bool largeOk = measureLargeFile(folder, largeSeconds, peakMiB);
    std::printf("\n2 GiB file (sparse, reads as zeros), packed by a fresh process:\n");
    if (largeOk)
        std::printf("  %.2f s (%.0f MB/s), peak resident %.1f MiB (target < 32 MiB: %s)\n", largeSeconds,
                    (2.0 * 1024 * MiB / MB) / largeSeconds, peakMiB, peakMiB < 32.0 ? "met" : "missed");
    else
        std::printf("  FAILED\n");

    if (keep)
        std::printf("\nKept %s\n", folder.c_str());
    else
        fs::remove_all(folder);
    return ok && archiveValid && largeOk ? 0 : 1;
}
