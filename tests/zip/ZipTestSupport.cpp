#include "ZipTestSupport.h"

#include <zlib.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>

namespace ziptest {

std::uint16_t le16(const std::string& bytes, std::size_t offset)
{
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes.at(offset))
                                      | static_cast<unsigned char>(bytes.at(offset + 1)) << 8);
}

std::uint32_t le32(const std::string& bytes, std::size_t offset)
{
    return le16(bytes, offset) | static_cast<std::uint32_t>(le16(bytes, offset + 2)) << 16;
}

ZipLayout ZipLayout::read(const std::filesystem::path& archive, std::string& error)
{
    ZipLayout layout;
    std::ifstream in(archive, std::ios::binary);
    layout.bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    error.clear();
    const std::string& bytes = layout.bytes;
    if (bytes.size() < 22 || le32(bytes, bytes.size() - 22) != 0x06054B50) {
        error = "no end record at the end of the file";
        return layout;
    }
    const std::size_t endOffset = bytes.size() - 22;
    EndRecord& end = layout.end;
    end.disk = le16(bytes, endOffset + 4);
    end.centralDisk = le16(bytes, endOffset + 6);
    end.entriesOnDisk = le16(bytes, endOffset + 8);
    end.entries = le16(bytes, endOffset + 10);
    end.centralSize = le32(bytes, endOffset + 12);
    end.centralOffset = le32(bytes, endOffset + 16);
    end.commentLength = le16(bytes, endOffset + 20);
    if (std::size_t{end.centralOffset} + end.centralSize != endOffset) {
        error = "the central directory does not end at the end record";
        return layout;
    }
    std::size_t offset = end.centralOffset;
    for (unsigned i = 0; i < end.entries; ++i) {
        if (offset + 46 > endOffset || le32(bytes, offset) != 0x02014B50) {
            error = "central header " + std::to_string(i) + " missing";
            return layout;
        }
        CentralHeader entry;
        entry.versionMadeBy = le16(bytes, offset + 4);
        entry.versionNeeded = le16(bytes, offset + 6);
        entry.flags = le16(bytes, offset + 8);
        entry.method = le16(bytes, offset + 10);
        entry.dosTime = le16(bytes, offset + 12);
        entry.dosDate = le16(bytes, offset + 14);
        entry.crc = le32(bytes, offset + 16);
        entry.compressedSize = le32(bytes, offset + 20);
        entry.uncompressedSize = le32(bytes, offset + 24);
        const std::uint16_t nameLength = le16(bytes, offset + 28);
        const std::uint16_t extraLength = le16(bytes, offset + 30);
        entry.commentLength = le16(bytes, offset + 32);
        entry.diskNumber = le16(bytes, offset + 34);
        entry.internalAttributes = le16(bytes, offset + 36);
        entry.externalAttributes = le32(bytes, offset + 38);
        entry.localHeaderOffset = le32(bytes, offset + 42);
        entry.name = bytes.substr(offset + 46, nameLength);
        entry.extra = bytes.substr(offset + 46 + nameLength, extraLength);
        offset += 46 + nameLength + extraLength + entry.commentLength;
        layout.central.push_back(entry);
    }
    if (offset != endOffset)
        error = "the central directory holds more than its entries";
    return layout;
}

LocalHeader ZipLayout::local(const CentralHeader& entry) const
{
    LocalHeader header;
    const std::size_t offset = entry.localHeaderOffset;
    header.signature = le32(bytes, offset);
    header.versionNeeded = le16(bytes, offset + 4);
    header.flags = le16(bytes, offset + 6);
    header.method = le16(bytes, offset + 8);
    header.dosTime = le16(bytes, offset + 10);
    header.dosDate = le16(bytes, offset + 12);
    header.crc = le32(bytes, offset + 14);
    header.compressedSize = le32(bytes, offset + 18);
    header.uncompressedSize = le32(bytes, offset + 22);
    const std::uint16_t nameLength = le16(bytes, offset + 26);
    const std::uint16_t extraLength = le16(bytes, offset + 28);
    header.name = bytes.substr(offset + 30, nameLength);
    header.extra = bytes.substr(offset + 30 + nameLength, extraLength);
    header.dataOffset = offset + 30 + nameLength + extraLength;
    return header;
}

const CentralHeader* ZipLayout::find(const std::string& name) const
{
    for (const CentralHeader& entry : central) {
        if (entry.name == name)
            return &entry;
    }
    return nullptr;
}

std::string decrypt(const std::string& password, const std::string& bytes)
{
    const z_crc_t* table = get_crc_table();
    std::uint32_t keys[3] = {305419896, 591751049, 878082192};
    const auto update = [&](unsigned char c) {
        keys[0] = table[(keys[0] ^ c) & 0xFF] ^ (keys[0] >> 8);
        keys[1] = (keys[1] + (keys[0] & 0xFF)) * 134775813 + 1;
        keys[2] = table[(keys[2] ^ (keys[1] >> 24)) & 0xFF] ^ (keys[2] >> 8);
    };
    for (const char c : password)
        update(static_cast<unsigned char>(c));
    std::string plain;
    for (const char c : bytes) {
        const std::uint32_t temp = (keys[2] | 2) & 0xFFFF;
        const auto value = static_cast<unsigned char>(static_cast<unsigned char>(c) ^ ((temp * (temp ^ 1)) >> 8));
        update(value);
        plain += static_cast<char>(value);
    }
    return plain;
}

int run(const std::string& command, std::string& output)
{
    output.clear();
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (!pipe)
        return -1;
    std::array<char, 4096> buffer;
    std::size_t count = 0;
    while ((count = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        output.append(buffer.data(), count);
    const int status = ::pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string quoted(const std::string& text)
{
    std::string result = "'";
    for (const char c : text)
        result += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return result + "'";
}

namespace {

constexpr const char* zipfileCheck = R"(import sys, zipfile
archive, password, manifest = sys.argv[1], sys.argv[2].encode(), sys.argv[3]
expected = []
with open(manifest, 'rb') as f:
    for line in f.read().decode().split('\n'):
        if line:
            name, _, source = line.partition('\t')
            expected.append((name, source))
with zipfile.ZipFile(archive) as z:
    if password:
        z.setpassword(password)
    names = z.namelist()
    if names != [name for name, _ in expected]:
        sys.exit('names differ: %r' % names)
    bad = z.testzip()
    if bad is not None:
        sys.exit('bad entry %s' % bad)
    for name, source in expected:
        info = z.getinfo(name)
        if not source:
            if not info.is_dir() or info.file_size != 0 or info.flag_bits & 1:
                sys.exit('folder entry %s' % name)
            continue
        if bool(info.flag_bits & 1) != bool(password):
            sys.exit('encryption of %s' % name)
        with open(source, 'rb') as f:
            if z.read(name) != f.read():
                sys.exit('content of %s differs' % name)
print('ok')
)";

} // namespace

std::string checkWithPython(const std::filesystem::path& archive, const std::string& password,
                            const std::vector<std::pair<std::string, std::string>>& expected)
{
    const char* python = std::getenv("MORVANE_TEST_PYTHON");
    const std::filesystem::path manifest = archive.string() + ".manifest";
    {
        std::ofstream list(manifest, std::ios::binary);
        for (const auto& [name, source] : expected)
            list << name << '\t' << source << '\n';
    }
    std::string output;
    run(quoted(python ? python : "/usr/bin/python3") + " -c " + quoted(zipfileCheck) + " " + quoted(archive.string())
            + " " + quoted(password) + " " + quoted(manifest.string()),
        output);
    std::filesystem::remove(manifest);
    while (!output.empty() && output.back() == '\n')
        output.pop_back();
    return output;
}

void writeSource(const std::filesystem::path& path, const std::string& bytes, std::time_t lastWrite,
                 std::time_t lastAccess)
{
    if (path.has_parent_path())
        std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    const struct timespec times[2] = {{lastAccess, 0}, {lastWrite, 0}};
    ::utimensat(AT_FDCWD, path.c_str(), times, 0);
}

std::time_t utc(int year, int month, int day, int hour, int minute, int second)
{
    using namespace std::chrono;
    const sys_days date = year_month_day{std::chrono::year{year}, std::chrono::month{static_cast<unsigned>(month)},
                                         std::chrono::day{static_cast<unsigned>(day)}};
    return system_clock::to_time_t(date + hours{hour} + minutes{minute} + seconds{second});
}

std::string logText(std::size_t size, unsigned seed)
{
    static constexpr std::array<const char*, 6> levels{"INFO", "DEBUG", "WARN", "ERROR", "TRACE", "INFO"};
    static constexpr std::array<const char*, 8> words{
        "connection", "request", "timeout", "service", "retry", "accepted", "queue", "checksum"};
    std::mt19937 random(seed);
    std::ostringstream text;
    std::size_t line = 0;
    while (static_cast<std::size_t>(text.tellp()) < size) {
        text << "2021-06-07 10:" << (line / 60) % 60 << ':' << line % 60 << ' ' << levels[random() % levels.size()]
             << " [worker-" << random() % 16 << "] ";
        for (unsigned i = 0, count = 3 + random() % 8; i < count; ++i)
            text << words[random() % words.size()] << ' ';
        text << "id=" << std::hex << random() << std::dec << "\r\n";
        ++line;
    }
    return text.str().substr(0, size);
}

std::string randomBytes(std::size_t size, unsigned seed)
{
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random() & 0xFF);
    return bytes;
}

std::uint32_t crcOf(const std::string& bytes)
{
    return static_cast<std::uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size())));
}

InjectedFaults::InjectedFaults(platform::WriteFaults faults)
    : m_previous(platform::setWriteFaults(std::move(faults)))
{
}

InjectedFaults::~InjectedFaults()
{
    platform::setWriteFaults(std::move(m_previous));
}

} // namespace ziptest
