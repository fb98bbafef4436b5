// The bytes the writer puts into an archive: headers, extra fields, times, attributes,
// encryption headers and data descriptors.
#include "zip/ZipArchiveWriter.h"

#include "TestClock.h"
#include "WorkingFolder.h"
#include "ZipTestSupport.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

namespace fs = std::filesystem;
using namespace ziptest;
using Zip = ZipArchiveWriter;

namespace {

std::string inflateRaw(const std::string& compressed)
{
    z_stream stream{};
    inflateInit2(&stream, -MAX_WBITS);
    std::string plain;
    std::string buffer(65536, '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data()));
    stream.avail_in = static_cast<uInt>(compressed.size());
    int status = Z_OK;
    while (status == Z_OK) {
        stream.next_out = reinterpret_cast<Bytef*>(buffer.data());
        stream.avail_out = static_cast<uInt>(buffer.size());
        status = inflate(&stream, Z_NO_FLUSH);
        plain.append(buffer.data(), buffer.size() - stream.avail_out);
    }
    inflateEnd(&stream);
    return status == Z_STREAM_END ? plain : "<not a complete raw deflate stream>";
}

std::string le16Bytes(std::uint16_t value)
{
    return {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
}

std::string le32Bytes(std::uint32_t value)
{
    return le16Bytes(static_cast<std::uint16_t>(value)) + le16Bytes(static_cast<std::uint16_t>(value >> 16));
}

void makeReadOnly(const fs::path& path)
{
    fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
}

ZipLayout readLayout(const fs::path& archive)
{
    std::string error;
    ZipLayout layout = ZipLayout::read(archive, error);
    EXPECT_EQ(error, "");
    return layout;
}

constexpr std::uint16_t dosDate(int year, int month, int day)
{
    return static_cast<std::uint16_t>((year - 1980) * 512 + month * 32 + day);
}

constexpr std::uint16_t dosTime(int hour, int minute, int second)
{
    return static_cast<std::uint16_t>(hour * 2048 + minute * 32 + second / 2);
}

// Sets TZ for the life of the object, so local-time conversions would show.
class TimeZone {
public:
    explicit TimeZone(const char* zone)
    {
        if (const char* previous = std::getenv("TZ"))
            m_previous = previous;
        ::setenv("TZ", zone, 1);
        ::tzset();
    }
    ~TimeZone()
    {
        if (m_previous)
            ::setenv("TZ", m_previous->c_str(), 1);
        else
            ::unsetenv("TZ");
        ::tzset();
    }

private:
    std::optional<std::string> m_previous;
};

} // namespace

TEST(ZipArchiveWriter, WritesFinalValuesIntoLocalHeadersWithoutPassword)
{
    testsupport::WorkingFolder folder;
    const std::time_t written = utc(2021, 6, 7, 10, 15, 31);
    const std::time_t accessed = utc(2022, 1, 2, 3, 4, 5);
    const std::string log = logText(100000, 1);
    const std::string packed = randomBytes(40000, 2);
    const std::string note = "read me, do not change me";
    writeSource("src/app.log", log, written, accessed);
    writeSource("src/Old.ZIP", packed, written, accessed);
    writeSource("src/locked.txt", note, written, accessed);
    makeReadOnly("src/locked.txt");

    Zip::Handle writer = Zip::Create("out.zip");
    ASSERT_NE(writer, Zip::Handle::None);
    EXPECT_EQ(Zip::AddFolder(writer, "Logs"), ZipOk);
    EXPECT_EQ(Zip::AddFile(writer, "Logs\\app.log", "src\\app.log"), ZipOk);
    EXPECT_EQ(Zip::AddFile(writer, "Logs\\Old.ZIP", "src\\Old.ZIP"), ZipOk);
    EXPECT_EQ(Zip::AddFile(writer, "locked.txt", "src\\locked.txt"), ZipOk);
    EXPECT_EQ(Zip::Close(writer), ZipOk);
    EXPECT_EQ(writer, Zip::Handle::None);

    struct Expected {
        std::string name;
        std::uint16_t flags;
        std::uint16_t method;
        const std::string* content; // none for a folder
        std::uint32_t attributes;
    };
    const Expected expected[] = {
        {"Logs/", 0, 0, nullptr, 0x41C00010},
        {"Logs/app.log", 2, 8, &log, 0x81800000},
        {"Logs/Old.ZIP", 0, 0, &packed, 0x81800000},
        {"locked.txt", 2, 8, &note, 0x81000001},
    };
    const ZipLayout layout = readLayout("out.zip");
    ASSERT_EQ(layout.central.size(), std::size(expected));
    std::size_t nextOffset = 0;
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const Expected& want = expected[i];
        SCOPED_TRACE(want.name);
        const CentralHeader& central = layout.central[i];
        const LocalHeader local = layout.local(central);
        const std::uint32_t size = want.content ? static_cast<std::uint32_t>(want.content->size()) : 0;

        EXPECT_EQ(central.name, want.name);
        EXPECT_EQ(central.versionMadeBy, 0x0B17);
        EXPECT_EQ(central.versionNeeded, 20);
        EXPECT_EQ(central.flags, want.flags);
        EXPECT_EQ(central.method, want.method);
        EXPECT_EQ(central.crc, want.content ? crcOf(*want.content) : 0u);
        EXPECT_EQ(central.uncompressedSize, size);
        EXPECT_EQ(central.commentLength, 0);
        EXPECT_EQ(central.diskNumber, 0);
        EXPECT_EQ(central.internalAttributes, 0);
        EXPECT_EQ(central.externalAttributes, want.attributes);
        EXPECT_EQ(central.localHeaderOffset, nextOffset);
        ASSERT_EQ(central.extra.size(), 9u);
        EXPECT_EQ(central.extra.substr(0, 5), std::string("UT\x05\x00\x07", 5));

        EXPECT_EQ(local.signature, 0x04034B50u);
        EXPECT_EQ(local.versionNeeded, 20);
        EXPECT_EQ(local.flags, want.flags);
        EXPECT_EQ(local.method, want.method);
        EXPECT_EQ(local.dosTime, central.dosTime);
        EXPECT_EQ(local.dosDate, central.dosDate);
        EXPECT_EQ(local.crc, central.crc);
        EXPECT_EQ(local.compressedSize, central.compressedSize);
        EXPECT_EQ(local.uncompressedSize, central.uncompressedSize);
        EXPECT_EQ(local.name, want.name);
        ASSERT_EQ(local.extra.size(), 17u);
        EXPECT_EQ(local.extra.substr(0, 5), std::string("UT\x0D\x00\x07", 5));
        EXPECT_EQ(local.extra.substr(5, 4), central.extra.substr(5, 4));

        const std::string data = layout.bytes.substr(local.dataOffset, central.compressedSize);
        if (want.content) {
            EXPECT_EQ(local.extra.substr(5, 8), le32Bytes(static_cast<std::uint32_t>(written))
                                                    + le32Bytes(static_cast<std::uint32_t>(accessed)));
            EXPECT_EQ(want.method == 8 ? inflateRaw(data) : data, *want.content);
        } else {
            EXPECT_EQ(central.compressedSize, 0u);
        }
        // No data descriptor: the next record follows the data directly.
        nextOffset = local.dataOffset + central.compressedSize;
    }
    EXPECT_EQ(layout.end.disk, 0);
    EXPECT_EQ(layout.end.centralDisk, 0);
    EXPECT_EQ(layout.end.entriesOnDisk, std::size(expected));
    EXPECT_EQ(layout.end.entries, std::size(expected));
    EXPECT_EQ(layout.end.centralOffset, nextOffset);
    EXPECT_EQ(layout.end.commentLength, 0);
}

TEST(ZipArchiveWriter, StoresNamesThatDenoteCompressedArchivesAndDeflatesTheRest)
{
    testsupport::WorkingFolder folder;
    writeSource("source.txt", std::string(5000, 'a'), utc(2020, 1, 1, 0, 0, 0), utc(2020, 1, 1, 0, 0, 0));
    const struct {
        const char* name;
        std::uint16_t method;
    } cases[] = {
        {"a.Z", 0},          {"b.z", 0},           {"c.zip", 0},       {"D.ZIP", 0},     {"e.zoo", 0},
        {"f.Arc", 0},        {"g.lzh", 0},         {"h.ARJ", 0},       {"i.gz", 0},      {"j.TGZ", 0},
        {"noextension", 8},  {"dir.zip\\file", 8}, {"x.zipx", 8},      {"y.tar", 8},     {"z.gz.txt", 8},
        {"trailingdot.", 8}, {"k.7z", 8},
    };
    Zip::Handle writer = Zip::Create("out.zip");
    for (const auto& entry : cases)
        EXPECT_EQ(Zip::AddFile(writer, entry.name, "source.txt"), ZipOk) << entry.name;
    ASSERT_EQ(Zip::Close(writer), ZipOk);

    const ZipLayout layout = readLayout("out.zip");
    ASSERT_EQ(layout.central.size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].name);
        EXPECT_EQ(layout.central[i].method, cases[i].method);
        EXPECT_EQ(layout.local(layout.central[i]).method, cases[i].method);
        EXPECT_EQ(layout.central[i].flags, cases[i].method == 8 ? 2 : 0);
        if (cases[i].method == 0)
            EXPECT_EQ(layout.central[i].compressedSize, 5000u);
        else
            EXPECT_LT(layout.central[i].compressedSize, 100u);
    }
}

TEST(ZipArchiveWriter, TakesFileTimesFromTheLastWriteTimeWithoutLocalConversion)
{
    testsupport::WorkingFolder folder;
    const TimeZone india("IST-5:30");
    const struct {
        const char* label;
        std::time_t lastWrite;
        std::uint16_t date;
        std::uint16_t time;
    } cases[] = {
        {"10:15:31", utc(2021, 6, 7, 10, 15, 31), dosDate(2021, 6, 7), 10 * 2048 + 15 * 32 + 15},
        {"first day of DOS time", utc(1980, 1, 1, 0, 0, 0), dosDate(1980, 1, 1), 0},
        {"before 1980 is held at 1980", utc(1975, 3, 4, 5, 6, 7), dosDate(1980, 1, 1), 0},
        {"after 2107 is held at 2107", utc(2110, 5, 6, 7, 8, 9), dosDate(2107, 12, 31), dosTime(23, 59, 58)},
    };
    Zip::Handle writer = Zip::Create("out.zip");
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const std::string name = "file" + std::to_string(i) + ".txt";
        writeSource(name, "x", cases[i].lastWrite, cases[i].lastWrite);
        EXPECT_EQ(Zip::AddFile(writer, name, name), ZipOk);
    }
    ASSERT_EQ(Zip::Close(writer), ZipOk);

    const ZipLayout layout = readLayout("out.zip");
    ASSERT_EQ(layout.central.size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].label);
        const CentralHeader& central = layout.central[i];
        EXPECT_EQ(central.dosDate, cases[i].date);
        EXPECT_EQ(central.dosTime, cases[i].time);
        // The extended timestamp keeps the real time, also outside the DOS span.
        EXPECT_EQ(central.extra.substr(5), le32Bytes(static_cast<std::uint32_t>(cases[i].lastWrite)));
        EXPECT_EQ(layout.local(central).extra.substr(5, 8),
                  le32Bytes(static_cast<std::uint32_t>(cases[i].lastWrite)) + le32Bytes(static_cast<std::uint32_t>(cases[i].lastWrite)));
    }
}

TEST(ZipArchiveWriter, FolderEntriesTakeTheLocalTimeAndOneTrailingSlash)
{
    testsupport::WorkingFolder folder;
    const testsupport::TestClock clock({2006, 11, 16, 8, 35, 42});
    Zip::Handle writer = Zip::Create("out.zip");
    EXPECT_EQ(Zip::AddFolder(writer, "CoreLogs"), ZipOk);
    EXPECT_EQ(Zip::AddFolder(writer, "CoreLogs\\Logs\\"), ZipOk);
    EXPECT_EQ(Zip::AddFolder(writer, "CoreLogs/Logs/App/"), ZipOk);
    ASSERT_EQ(Zip::Close(writer), ZipOk);

    const ZipLayout layout = readLayout("out.zip");
    const char* names[] = {"CoreLogs/", "CoreLogs/Logs/", "CoreLogs/Logs/App/"};
    ASSERT_EQ(layout.central.size(), std::size(names));
    for (std::size_t i = 0; i < std::size(names); ++i) {
        SCOPED_TRACE(names[i]);
        const CentralHeader& central = layout.central[i];
        EXPECT_EQ(central.name, names[i]);
        EXPECT_EQ(central.dosDate, dosDate(2006, 11, 16));
        EXPECT_EQ(central.dosTime, dosTime(8, 35, 42));
        EXPECT_EQ(central.externalAttributes, 0x41C00010u);
        EXPECT_EQ(central.method, 0);
        EXPECT_EQ(central.flags, 0);
        EXPECT_EQ(central.compressedSize, 0u);
        EXPECT_EQ(central.uncompressedSize, 0u);
    }
}

TEST(ZipArchiveWriter, EncryptsFileEntriesBehindAHeaderAndDescribesThemAfterTheirData)
{
    testsupport::WorkingFolder folder;
    const std::string password = "pass word!";
    const std::string log = logText(70000, 3);
    const std::string packed = randomBytes(20000, 4);
    writeSource("src/a.log", log, utc(2021, 6, 7, 10, 15, 31), utc(2021, 6, 7, 10, 15, 31));
    writeSource("src/b.gz", packed, utc(2021, 6, 7, 10, 15, 31), utc(2021, 6, 7, 10, 15, 31));

    Zip::Handle writer = Zip::Create("out.zip", password);
    EXPECT_EQ(Zip::AddFolder(writer, "Dir"), ZipOk);
    EXPECT_EQ(Zip::AddFile(writer, "Dir\\a.log", "src\\a.log"), ZipOk);
    EXPECT_EQ(Zip::AddFile(writer, "Dir\\b.gz", "src\\b.gz"), ZipOk);
    ASSERT_EQ(Zip::Close(writer), ZipOk);

    const ZipLayout layout = readLayout("out.zip");
    ASSERT_EQ(layout.central.size(), 3u);

    {
        SCOPED_TRACE("a folder stays unencrypted");
        const CentralHeader& central = layout.central[0];
        const LocalHeader local = layout.local(central);
        EXPECT_EQ(central.flags, 0);
        EXPECT_EQ(local.flags, 0);
        EXPECT_EQ(central.compressedSize, 0u);
        EXPECT_EQ(local.dataOffset, layout.central[1].localHeaderOffset);
    }

    const struct {
        const char* label;
        const std::string* content;
        std::uint16_t method;
        std::uint32_t announcedCompressedSize;
    } files[] = {
        {"deflated", &log, 8, 0},
        {"stored", &packed, 0, static_cast<std::uint32_t>(packed.size() + 12)},
    };
    for (std::size_t i = 0; i < std::size(files); ++i) {
        SCOPED_TRACE(files[i].label);
        const CentralHeader& central = layout.central[i + 1];
        const LocalHeader local = layout.local(central);
        const std::string& content = *files[i].content;

        EXPECT_EQ(local.flags, 9);
        EXPECT_EQ(central.flags, 9);
        EXPECT_EQ(local.method, files[i].method);
        EXPECT_EQ(central.method, files[i].method);
        EXPECT_EQ(local.crc, 0u);
        EXPECT_EQ(local.compressedSize, files[i].announcedCompressedSize);
        EXPECT_EQ(local.uncompressedSize, content.size());
        EXPECT_EQ(central.crc, crcOf(content));
        EXPECT_EQ(central.uncompressedSize, content.size());

        // The compressed size counts the 12-byte encryption header; the descriptor follows.
        const std::size_t descriptorOffset = local.dataOffset + central.compressedSize;
        EXPECT_EQ(layout.bytes.substr(descriptorOffset, 16),
                  le32Bytes(0x08074B50) + le32Bytes(central.crc) + le32Bytes(central.compressedSize)
                      + le32Bytes(central.uncompressedSize));
        const std::size_t next = i + 2 < layout.central.size() ? layout.central[i + 2].localHeaderOffset
                                                               : layout.end.centralOffset;
        EXPECT_EQ(descriptorOffset + 16, next);

        const std::string plain = decrypt(password, layout.bytes.substr(local.dataOffset, central.compressedSize));
        ASSERT_GE(plain.size(), 12u);
        EXPECT_EQ(static_cast<unsigned char>(plain[11]), central.dosTime >> 8);
        EXPECT_EQ(files[i].method == 8 ? inflateRaw(plain.substr(12)) : plain.substr(12), content);
    }
}

TEST(ZipArchiveWriter, EncryptionHeadersAreNeverRepeated)
{
    testsupport::WorkingFolder folder;
    writeSource("same.txt", "the same bytes", utc(2021, 6, 7, 10, 15, 31), utc(2021, 6, 7, 10, 15, 31));
    std::vector<std::string> headers;
    for (const char* archive : {"first.zip", "second.zip"}) {
        Zip::Handle writer = Zip::Create(archive, "pw");
        EXPECT_EQ(Zip::AddFile(writer, "a.txt", "same.txt"), ZipOk);
        EXPECT_EQ(Zip::AddFile(writer, "b.txt", "same.txt"), ZipOk);
        ASSERT_EQ(Zip::Close(writer), ZipOk);
        const ZipLayout layout = readLayout(archive);
        for (const CentralHeader& central : layout.central)
            headers.push_back(decrypt("pw", layout.bytes.substr(layout.local(central).dataOffset, 12)).substr(0, 11));
    }
    ASSERT_EQ(headers.size(), 4u);
    for (std::size_t i = 0; i < headers.size(); ++i) {
        EXPECT_NE(headers[i], std::string(11, '\0'));
        for (std::size_t j = i + 1; j < headers.size(); ++j)
            EXPECT_NE(headers[i], headers[j]) << i << " and " << j;
    }
}

TEST(ZipArchiveWriter, AnArchiveWithoutEntriesIsTheEndRecordAlone)
{
    testsupport::WorkingFolder folder;
    for (const char* password : {"", "secret"}) {
        SCOPED_TRACE(password);
        Zip::Handle writer = Zip::Create("empty.zip", password);
        ASSERT_EQ(Zip::Close(writer), ZipOk);
        EXPECT_EQ(folder.read("empty.zip"), std::string("PK\x05\x06", 4) + std::string(18, '\0'));
    }
}
