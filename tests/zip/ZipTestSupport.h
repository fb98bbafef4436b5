// Helpers for the archive writer's tests: a byte-level reading of an archive's layout, the
// traditional decryption, the independent readers (unzip, zipinfo, Python's zipfile), injected
// write faults and source files with chosen times.
#pragma once

#include "platform/BinaryFile.h"

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace ziptest {

std::uint16_t le16(const std::string& bytes, std::size_t offset);
std::uint32_t le32(const std::string& bytes, std::size_t offset);

struct LocalHeader {
    std::uint32_t signature = 0;
    std::uint16_t versionNeeded = 0;
    std::uint16_t flags = 0;
    std::uint16_t method = 0;
    std::uint16_t dosTime = 0;
    std::uint16_t dosDate = 0;
    std::uint32_t crc = 0;
    std::uint32_t compressedSize = 0;
    std::uint32_t uncompressedSize = 0;
    std::string name;
    std::string extra;
    std::size_t dataOffset = 0; // first byte after the header
};

struct CentralHeader {
    std::uint16_t versionMadeBy = 0;
    std::uint16_t versionNeeded = 0;
    std::uint16_t flags = 0;
    std::uint16_t method = 0;
    std::uint16_t dosTime = 0;
    std::uint16_t dosDate = 0;
    std::uint32_t crc = 0;
    std::uint32_t compressedSize = 0;
    std::uint32_t uncompressedSize = 0;
    std::uint16_t commentLength = 0;
    std::uint16_t diskNumber = 0;
    std::uint16_t internalAttributes = 0;
    std::uint32_t externalAttributes = 0;
    std::uint32_t localHeaderOffset = 0;
    std::string name;
    std::string extra;
};

struct EndRecord {
    std::uint16_t disk = 0;
    std::uint16_t centralDisk = 0;
    std::uint16_t entriesOnDisk = 0;
    std::uint16_t entries = 0;
    std::uint32_t centralSize = 0;
    std::uint32_t centralOffset = 0;
    std::uint16_t commentLength = 0;
};

// An archive read by its end record and central directory, with its local headers on demand.
struct ZipLayout {
    std::string bytes;
    EndRecord end;
    std::vector<CentralHeader> central;

    // Reads the archive file; an empty error when its records are where they say they are.
    static ZipLayout read(const std::filesystem::path& archive, std::string& error);

    LocalHeader local(const CentralHeader& entry) const;
    const CentralHeader* find(const std::string& name) const;
};

// The traditional zip decryption, written out independently of the writer.
std::string decrypt(const std::string& password, const std::string& bytes);

// Runs a shell command, returning its exit status and its output (stdout and stderr).
int run(const std::string& command, std::string& output);
std::string quoted(const std::string& text);

// Reads the archive with Python's zipfile and compares it with the expected entries, in order:
// (name, source path), the source empty for a folder entry. Returns "ok" or what differs.
std::string checkWithPython(const std::filesystem::path& archive, const std::string& password,
                            const std::vector<std::pair<std::string, std::string>>& expected);

// Writes a source file with the given bytes, last-write and last-access times.
void writeSource(const std::filesystem::path& path, const std::string& bytes, std::time_t lastWrite,
                 std::time_t lastAccess);
// Seconds since 1970 for a UTC date and time.
std::time_t utc(int year, int month, int day, int hour, int minute, int second);

// Text that reads like a log file: varied lines, deterministic for a seed.
std::string logText(std::size_t size, unsigned seed);
// Bytes that do not compress.
std::string randomBytes(std::size_t size, unsigned seed);

std::uint32_t crcOf(const std::string& bytes);

// Installs write faults for the life of the object.
class InjectedFaults {
public:
    explicit InjectedFaults(platform::WriteFaults faults);
    ~InjectedFaults();
    InjectedFaults(const InjectedFaults&) = delete;
    InjectedFaults& operator=(const InjectedFaults&) = delete;

private:
    platform::WriteFaults m_previous;
};

} // namespace ziptest
