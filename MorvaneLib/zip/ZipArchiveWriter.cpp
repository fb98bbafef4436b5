#include "zip/ZipArchiveWriter.h"

#include "platform/BinaryFile.h"
#include "platform/Clock.h"
#include "platform/Path.h"
#include "platform/Random.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <string_view>
#include <utility>
#include <vector>

namespace {

constexpr std::size_t BlockSize = 16384;
constexpr std::size_t MaxNameLength = 259;

constexpr std::uint64_t LocalHeaderSize = 30;
constexpr std::uint64_t LocalExtraSize = 17;
constexpr std::uint64_t CentralHeaderSize = 46;
constexpr std::uint64_t CentralExtraSize = 9;
constexpr std::uint64_t EncryptionHeaderSize = 12;
constexpr std::uint64_t DataDescriptorSize = 16;
constexpr std::uint64_t EndRecordSize = 22;

// The classic fields hold 32 and 16 bits, and readers take their all-ones values as pointers
// to Zip64 records, which these archives never have. An archive no larger than MaxArchiveSize
// keeps every offset and compressed size below 0xFFFFFFFF.
constexpr std::uint64_t MaxArchiveSize = 0xFFFFFFFF;
constexpr std::uint64_t MaxEntrySize = 0xFFFFFFFE;
constexpr std::size_t MaxEntries = 0xFFFE;

constexpr std::uint16_t VersionNeeded = 20;
constexpr std::uint16_t VersionMadeBy = 0x0B17;
constexpr std::uint16_t FlagEncrypted = 0x01;
constexpr std::uint16_t FlagMaximumCompression = 0x02;
constexpr std::uint16_t FlagDataDescriptor = 0x08;
constexpr std::uint16_t MethodStored = 0;
constexpr std::uint16_t MethodDeflated = 8;

constexpr std::uint32_t AttributeReadOnly = 0x01;
constexpr std::uint32_t AttributeDirectory = 0x10;
constexpr std::uint32_t ModeRegularFile = 0x8000;
constexpr std::uint32_t ModeOwnerRead = 0x0100;
constexpr std::uint32_t ModeOwnerWrite = 0x0080;
constexpr std::uint32_t FolderAttributes = 0x41C00010;

constexpr int CompressionLevel = 8;

// One entry: the contents of its central directory header, and the times of its local one.
struct Entry {
    std::uint16_t flags = 0;
    std::uint16_t method = MethodStored;
    std::uint16_t dosTime = 0;
    std::uint16_t dosDate = 0;
    std::uint32_t crc = 0;
    std::uint32_t compressedSize = 0;
    std::uint32_t uncompressedSize = 0;
    std::string name;
    std::uint32_t modificationTime = 0;
    std::uint32_t accessTime = 0;
    std::uint32_t creationTime = 0;
    std::uint32_t externalAttributes = 0;
    std::uint32_t localHeaderOffset = 0;
};

class ByteWriter {
public:
    ByteWriter& u16(std::uint16_t value)
    {
        m_bytes += static_cast<char>(value & 0xFF);
        m_bytes += static_cast<char>(value >> 8);
        return *this;
    }
    ByteWriter& u32(std::uint32_t value)
    {
        u16(static_cast<std::uint16_t>(value & 0xFFFF));
        return u16(static_cast<std::uint16_t>(value >> 16));
    }
    ByteWriter& u8(std::uint8_t value)
    {
        m_bytes += static_cast<char>(value);
        return *this;
    }
    ByteWriter& text(const std::string& value)
    {
        m_bytes += value;
        return *this;
    }
    const std::string& bytes() const { return m_bytes; }

private:
    std::string m_bytes;
};

std::string localHeader(const Entry& entry)
{
    ByteWriter out;
    out.u32(0x04034B50).u16(VersionNeeded).u16(entry.flags).u16(entry.method)
        .u16(entry.dosTime).u16(entry.dosDate)
        .u32(entry.crc).u32(entry.compressedSize).u32(entry.uncompressedSize)
        .u16(static_cast<std::uint16_t>(entry.name.size())).u16(LocalExtraSize)
        .text(entry.name);
    // Extended timestamp: modification, access and creation times.
    out.u16(0x5455).u16(13).u8(7).u32(entry.modificationTime).u32(entry.accessTime).u32(entry.creationTime);
    return out.bytes();
}

std::string centralHeader(const Entry& entry)
{
    ByteWriter out;
    out.u32(0x02014B50).u16(VersionMadeBy).u16(VersionNeeded).u16(entry.flags).u16(entry.method)
        .u16(entry.dosTime).u16(entry.dosDate)
        .u32(entry.crc).u32(entry.compressedSize).u32(entry.uncompressedSize)
        .u16(static_cast<std::uint16_t>(entry.name.size())).u16(CentralExtraSize)
        .u16(0)  // comment length
        .u16(0)  // disk number
        .u16(0)  // internal attributes
        .u32(entry.externalAttributes).u32(entry.localHeaderOffset)
        .text(entry.name);
    // The flags keep 7 although only the modification time follows, as in the local field.
    out.u16(0x5455).u16(5).u8(7).u32(entry.modificationTime);
    return out.bytes();
}

std::string dataDescriptor(const Entry& entry)
{
    ByteWriter out;
    out.u32(0x08074B50).u32(entry.crc).u32(entry.compressedSize).u32(entry.uncompressedSize);
    return out.bytes();
}

std::string endRecord(std::size_t entries, std::uint64_t centralSize, std::uint64_t centralOffset)
{
    ByteWriter out;
    out.u32(0x06054B50).u16(0).u16(0)
        .u16(static_cast<std::uint16_t>(entries)).u16(static_cast<std::uint16_t>(entries))
        .u32(static_cast<std::uint32_t>(centralSize)).u32(static_cast<std::uint32_t>(centralOffset))
        .u16(0);
    return out.bytes();
}

// DOS dates count years from 1980 in 7 bits; times outside that span are held at its ends.
void setDosTime(Entry& entry, int year, int month, int day, int hour, int minute, int second)
{
    if (year < 1980)
        return setDosTime(entry, 1980, 1, 1, 0, 0, 0);
    if (year > 2107)
        return setDosTime(entry, 2107, 12, 31, 23, 59, 59);
    entry.dosDate = static_cast<std::uint16_t>((year - 1980) * 512 + month * 32 + day);
    entry.dosTime = static_cast<std::uint16_t>(hour * 2048 + minute * 32 + second / 2);
}

// The DOS fields of a file come from its last-write time as it stands, in UTC.
void setDosTimeUtc(Entry& entry, std::int64_t secondsSince1970)
{
    using namespace std::chrono;
    const sys_seconds time{seconds{secondsSince1970}};
    const sys_days day = floor<days>(time);
    const year_month_day date{day};
    const hh_mm_ss clock{time - day};
    setDosTime(entry, static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
               static_cast<int>(static_cast<unsigned>(date.day())), static_cast<int>(clock.hours().count()),
               static_cast<int>(clock.minutes().count()), static_cast<int>(clock.seconds().count()));
}

std::string entryName(const std::string& name)
{
    std::string converted = name;
    std::replace(converted.begin(), converted.end(), '\\', '/');
    return converted;
}

// Names that already denote compressed archives are stored rather than deflated.
bool isStoredByName(const std::string& name)
{
    static constexpr std::array<std::string_view, 8> compressedExtensions{
        ".Z", ".zip", ".zoo", ".arc", ".lzh", ".arj", ".gz", ".tgz"};
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos)
        return false;
    const std::string_view extension = std::string_view(name).substr(dot);
    return std::any_of(compressedExtensions.begin(), compressedExtensions.end(),
                       [&](std::string_view known) { return platform::sameNameIgnoringCase(extension, known); });
}

// The traditional zip encryption: three keys run over the password, then over each plain byte.
class TraditionalCipher {
public:
    void reset(const std::string& password)
    {
        m_keys = {0x12345678, 0x23456789, 0x34567890};
        for (const char c : password)
            update(static_cast<std::uint8_t>(c));
    }

    void encrypt(unsigned char* bytes, std::size_t size)
    {
        for (std::size_t i = 0; i < size; ++i) {
            const std::uint8_t plain = bytes[i];
            const std::uint32_t temp = (m_keys[2] | 2) & 0xFFFF;
            bytes[i] = static_cast<unsigned char>(plain ^ (((temp * (temp ^ 1)) >> 8) & 0xFF));
            update(plain);
        }
    }

private:
    static std::uint32_t crcStep(std::uint32_t crc, std::uint8_t byte)
    {
        static const z_crc_t* const table = get_crc_table();
        return static_cast<std::uint32_t>(table[(crc ^ byte) & 0xFF]) ^ (crc >> 8);
    }

    void update(std::uint8_t byte)
    {
        m_keys[0] = crcStep(m_keys[0], byte);
        m_keys[1] = (m_keys[1] + (m_keys[0] & 0xFF)) * 134775813 + 1;
        m_keys[2] = crcStep(m_keys[2], static_cast<std::uint8_t>(m_keys[1] >> 24));
    }

    std::array<std::uint32_t, 3> m_keys{};
};

class WriterState {
public:
    WriterState() : m_input(BlockSize), m_output(BlockSize) {}
    ~WriterState()
    {
        if (m_compressorReady)
            deflateEnd(&m_stream);
    }
    WriterState(const WriterState&) = delete;
    WriterState& operator=(const WriterState&) = delete;

    bool create(const std::string& linuxPath, const std::string& password)
    {
        m_password = password;
        return m_file.createForWriting(linuxPath);
    }

    ZipResult addFolder(const std::string& name);
    ZipResult addFile(const std::string& name, const std::string& sourcePath);
    ZipResult close();

private:
    // What one entry's data came to.
    struct DataCount {
        std::uint32_t crc = 0;
        std::uint64_t read = 0;
        std::uint64_t written = 0;
    };

    bool write(const std::string& bytes);
    bool fits(const Entry& entry, std::uint64_t dataBound, bool encrypted) const;
    std::uint64_t reserveAfterData(const Entry& entry, bool encrypted) const;
    bool prepareCompressor();
    ZipResult copyData(platform::BinaryFile& source, const Entry& entry, bool encrypted, DataCount& count);
    ZipResult deflateData(platform::BinaryFile& source, const Entry& entry, bool encrypted, DataCount& count);
    ZipResult countRead(DataCount& count, std::size_t size);
    ZipResult writeData(unsigned char* bytes, std::size_t size, const Entry& entry, bool encrypted, DataCount& count);
    ZipResult rewriteLocalHeader(const Entry& entry);
    void rollBack(std::uint64_t offset);
    bool reposition();
    void keep(const Entry& entry);

    platform::BinaryFile m_file;
    std::uint64_t m_position = 0;   // bytes in the archive so far: the next local header's offset
    bool m_positionLost = false;    // the file no longer stands at m_position
    std::string m_password;
    TraditionalCipher m_cipher;
    std::vector<Entry> m_entries;
    std::uint64_t m_centralSize = 0; // the central directory the entries so far will need
    std::vector<unsigned char> m_input;
    std::vector<unsigned char> m_output;
    z_stream m_stream{};
    bool m_compressorReady = false;
};

bool WriterState::write(const std::string& bytes)
{
    const std::size_t written = m_file.write(bytes.data(), bytes.size());
    m_position += written;
    return written == bytes.size();
}

// What must still fit after an entry's data: its data descriptor, the central directory with
// the entry's own header, and the end record.
std::uint64_t WriterState::reserveAfterData(const Entry& entry, bool encrypted) const
{
    return (encrypted ? DataDescriptorSize : 0) + m_centralSize + CentralHeaderSize + entry.name.size()
        + CentralExtraSize + EndRecordSize;
}

bool WriterState::fits(const Entry& entry, std::uint64_t dataBound, bool encrypted) const
{
    if (m_entries.size() >= MaxEntries)
        return false;
    const std::uint64_t size = m_position + LocalHeaderSize + entry.name.size() + LocalExtraSize
        + (encrypted ? EncryptionHeaderSize : 0) + dataBound + reserveAfterData(entry, encrypted);
    return size <= MaxArchiveSize;
}

bool WriterState::prepareCompressor()
{
    if (m_compressorReady)
        return deflateReset(&m_stream) == Z_OK;
    m_stream = z_stream{};
    // Negative window bits: a raw deflate stream without the zlib header and trailer.
    if (deflateInit2(&m_stream, CompressionLevel, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return false;
    m_compressorReady = true;
    return true;
}

ZipResult WriterState::countRead(DataCount& count, std::size_t size)
{
    count.crc = static_cast<std::uint32_t>(crc32(count.crc, m_input.data(), static_cast<uInt>(size)));
    count.read += size;
    return count.read <= MaxEntrySize ? ZipOk : ZipTooLarge;
}

ZipResult WriterState::writeData(unsigned char* bytes, std::size_t size, const Entry& entry, bool encrypted,
                                 DataCount& count)
{
    // A source that grew after it was measured must still not carry the archive past its limit.
    if (m_position + size + reserveAfterData(entry, encrypted) > MaxArchiveSize)
        return ZipTooLarge;
    if (encrypted)
        m_cipher.encrypt(bytes, size);
    const std::size_t written = m_file.write(bytes, size);
    m_position += written;
    count.written += written;
    return written == size ? ZipOk : ZipWriteError;
}

ZipResult WriterState::copyData(platform::BinaryFile& source, const Entry& entry, bool encrypted, DataCount& count)
{
    for (;;) {
        std::size_t size = 0;
        if (!source.read(m_input.data(), BlockSize, size))
            return ZipNoFile;
        if (size == 0)
            return ZipOk;
        if (const ZipResult result = countRead(count, size); result != ZipOk)
            return result;
        if (const ZipResult result = writeData(m_input.data(), size, entry, encrypted, count); result != ZipOk)
            return result;
    }
}

ZipResult WriterState::deflateData(platform::BinaryFile& source, const Entry& entry, bool encrypted,
                                   DataCount& count)
{
    int flush = Z_NO_FLUSH;
    int status = Z_OK;
    while (flush != Z_FINISH) {
        std::size_t size = 0;
        if (!source.read(m_input.data(), BlockSize, size))
            return ZipNoFile;
        if (const ZipResult result = countRead(count, size); result != ZipOk)
            return result;
        flush = size == 0 ? Z_FINISH : Z_NO_FLUSH;
        m_stream.next_in = m_input.data();
        m_stream.avail_in = static_cast<uInt>(size);
        do {
            m_stream.next_out = m_output.data();
            m_stream.avail_out = static_cast<uInt>(BlockSize);
            status = deflate(&m_stream, flush);
            if (status == Z_STREAM_ERROR)
                return ZipWriteError;
            const std::size_t produced = BlockSize - m_stream.avail_out;
            if (produced > 0) {
                if (const ZipResult result = writeData(m_output.data(), produced, entry, encrypted, count);
                    result != ZipOk)
                    return result;
            }
        } while (m_stream.avail_out == 0);
    }
    return status == Z_STREAM_END ? ZipOk : ZipWriteError;
}

// Puts the file back at m_position, dropping whatever lies beyond it.
bool WriterState::reposition()
{
    m_positionLost = !(m_file.truncate(m_position) && m_file.seek(m_position));
    return !m_positionLost;
}

// Takes a refused entry's bytes out again, so later offsets stay where the limits allow.
void WriterState::rollBack(std::uint64_t offset)
{
    m_position = offset;
    reposition();
}

ZipResult WriterState::rewriteLocalHeader(const Entry& entry)
{
    if (!m_file.seek(entry.localHeaderOffset))
        return ZipSeekFailed;
    const std::string header = localHeader(entry);
    const bool rewritten = m_file.write(header.data(), header.size()) == header.size();
    if (!m_file.seek(m_position)) {
        m_positionLost = true;
        return ZipSeekFailed;
    }
    return rewritten ? ZipOk : ZipWriteError;
}

void WriterState::keep(const Entry& entry)
{
    m_entries.push_back(entry);
    m_centralSize += CentralHeaderSize + entry.name.size() + CentralExtraSize;
}

ZipResult WriterState::addFolder(const std::string& name)
{
    if (m_positionLost)
        return ZipPreviousError;
    if (name.empty())
        return ZipBadArguments;
    Entry entry;
    entry.name = entryName(name);
    if (entry.name.back() != '/')
        entry.name += '/';
    if (entry.name.size() > MaxNameLength)
        return ZipBadArguments;

    const platform::LocalTime now = platform::localTime();
    setDosTime(entry, now.year, now.month, now.day, now.hour, now.minute, now.second);
    const auto secondsSince1970 = std::chrono::duration_cast<std::chrono::seconds>(
        std::chrono::system_clock::now().time_since_epoch()).count();
    entry.modificationTime = entry.accessTime = entry.creationTime = static_cast<std::uint32_t>(secondsSince1970);
    entry.externalAttributes = FolderAttributes;
    if (!fits(entry, 0, false))
        return ZipTooLarge;
    entry.localHeaderOffset = static_cast<std::uint32_t>(m_position);

    // A folder has no data, so its first header already holds its final values.
    if (!write(localHeader(entry)))
        return ZipWriteError;
    keep(entry);
    return ZipOk;
}

ZipResult WriterState::addFile(const std::string& name, const std::string& sourcePath)
{
    if (m_positionLost)
        return ZipPreviousError;
    if (name.empty())
        return ZipBadArguments;
    Entry entry;
    entry.name = entryName(name);
    if (entry.name.size() > MaxNameLength)
        return ZipBadArguments;

    std::string linuxPath;
    platform::BinaryFile source;
    platform::FileFacts facts;
    if (!platform::toLinuxPath(sourcePath, linuxPath) || !source.openForReading(linuxPath) || !source.facts(facts))
        return ZipNoFile;

    const bool stored = isStoredByName(entry.name);
    const bool encrypted = !m_password.empty();
    if (!stored && !prepareCompressor())
        return ZipWriteError;
    const std::uint64_t dataBound = stored ? facts.size : deflateBound(&m_stream, static_cast<uLong>(facts.size));
    if (facts.size > MaxEntrySize || !fits(entry, dataBound, encrypted))
        return ZipTooLarge;

    // Eleven bytes from the system's random source, then the check byte readers compare.
    std::array<unsigned char, EncryptionHeaderSize> encryptionHeader{};
    if (encrypted && !platform::fillRandom(encryptionHeader.data(), EncryptionHeaderSize - 1))
        return ZipWriteError;

    entry.method = stored ? MethodStored : MethodDeflated;
    setDosTimeUtc(entry, facts.lastWriteTime);
    entry.modificationTime = static_cast<std::uint32_t>(facts.lastWriteTime);
    entry.accessTime = static_cast<std::uint32_t>(facts.lastAccessTime);
    entry.creationTime = static_cast<std::uint32_t>(facts.creationTime);
    entry.externalAttributes = ((ModeRegularFile | ModeOwnerRead | (facts.readOnly ? 0 : ModeOwnerWrite)) << 16)
        | (facts.readOnly ? AttributeReadOnly : 0) | (facts.folder ? AttributeDirectory : 0);
    entry.flags = FlagDataDescriptor | (encrypted ? FlagEncrypted : 0);
    entry.uncompressedSize = static_cast<std::uint32_t>(facts.size);
    entry.compressedSize = stored ? static_cast<std::uint32_t>(facts.size + (encrypted ? EncryptionHeaderSize : 0)) : 0;
    entry.localHeaderOffset = static_cast<std::uint32_t>(m_position);
    const std::uint32_t announcedSize = entry.compressedSize;

    if (!write(localHeader(entry)))
        return ZipWriteError;
    if (encrypted) {
        encryptionHeader.back() = static_cast<unsigned char>(entry.dosTime >> 8);
        m_cipher.reset(m_password);
        m_cipher.encrypt(encryptionHeader.data(), encryptionHeader.size());
        if (!write(std::string(encryptionHeader.begin(), encryptionHeader.end())))
            return ZipWriteError;
    }

    DataCount count;
    const ZipResult dataResult = stored ? copyData(source, entry, encrypted, count)
                                        : deflateData(source, entry, encrypted, count);
    source.close();
    if (dataResult == ZipTooLarge)
        rollBack(entry.localHeaderOffset);
    if (dataResult != ZipOk)
        return dataResult;

    entry.crc = count.crc;
    entry.uncompressedSize = static_cast<std::uint32_t>(count.read);
    entry.compressedSize = static_cast<std::uint32_t>(count.written + (encrypted ? EncryptionHeaderSize : 0));
    if (encrypted) {
        // The first header stays as written; readers take the final values from the descriptor.
        if (stored && entry.compressedSize != announcedSize)
            return ZipCannotCorrect;
        if (!write(dataDescriptor(entry)))
            return ZipWriteError;
    } else {
        entry.flags = stored ? 0 : FlagMaximumCompression;
        if (const ZipResult result = rewriteLocalHeader(entry); result != ZipOk)
            return result;
    }
    keep(entry);
    return ZipOk;
}

ZipResult WriterState::close()
{
    ZipResult result = ZipOk;
    if (m_positionLost && !reposition()) {
        result = ZipSeekFailed;
    } else {
        const std::uint64_t centralOffset = m_position;
        bool written = true;
        for (const Entry& entry : m_entries) {
            written = write(centralHeader(entry));
            if (!written)
                break;
        }
        if (written)
            written = write(endRecord(m_entries.size(), m_position - centralOffset, centralOffset));
        if (!written)
            result = ZipWriteError;
    }
    if (!m_file.close() && result == ZipOk)
        result = ZipWriteError;
    return result;
}

// Writers by handle. Handles count up from 1 and are never reused, so a handle below the next
// one that is not open any more belongs to a writer that was closed.
std::mutex writersMutex;
std::map<std::uint64_t, std::unique_ptr<WriterState>> openWriters;
std::uint64_t nextHandle = 1;

std::atomic<ZipResult> lastResult{ZipOk};

ZipResult record(ZipResult result)
{
    lastResult.store(result);
    return result;
}

// The result for a handle that names no open writer; called with writersMutex held.
ZipResult notOpen(std::uint64_t value)
{
    return value < nextHandle ? ZipEnded : ZipWrongHandle;
}

ZipResult findWriter(ZipArchiveWriter::Handle handle, WriterState*& writer)
{
    const auto value = static_cast<std::uint64_t>(handle);
    if (value == 0)
        return ZipBadArguments;
    std::lock_guard lock(writersMutex);
    const auto found = openWriters.find(value);
    if (found == openWriters.end())
        return notOpen(value);
    writer = found->second.get();
    return ZipOk;
}

} // namespace

ZipArchiveWriter::Handle ZipArchiveWriter::Create(const std::string& archivePath, const std::string& password)
{
    auto writer = std::make_unique<WriterState>();
    std::string linuxPath;
    if (!platform::toLinuxPath(archivePath, linuxPath) || !writer->create(linuxPath, password)) {
        record(ZipNoFile);
        return Handle::None;
    }
    std::uint64_t handle = 0;
    {
        std::lock_guard lock(writersMutex);
        handle = nextHandle++;
        openWriters.emplace(handle, std::move(writer));
    }
    record(ZipOk);
    return static_cast<Handle>(handle);
}

ZipResult ZipArchiveWriter::AddFolder(Handle handle, const std::string& name)
{
    WriterState* writer = nullptr;
    if (const ZipResult found = findWriter(handle, writer); found != ZipOk)
        return record(found);
    return record(writer->addFolder(name));
}

ZipResult ZipArchiveWriter::AddFile(Handle handle, const std::string& name, const std::string& sourcePath)
{
    WriterState* writer = nullptr;
    if (const ZipResult found = findWriter(handle, writer); found != ZipOk)
        return record(found);
    return record(writer->addFile(name, sourcePath));
}

ZipResult ZipArchiveWriter::Close(Handle& handle)
{
    const auto value = static_cast<std::uint64_t>(std::exchange(handle, Handle::None));
    if (value == 0)
        return record(ZipBadArguments);
    std::unique_ptr<WriterState> writer;
    {
        std::lock_guard lock(writersMutex);
        const auto open = openWriters.find(value);
        if (open == openWriters.end())
            return record(notOpen(value));
        writer = std::move(open->second);
        openWriters.erase(open);
    }
    return record(writer->close());
}

ZipResult ZipArchiveWriter::LastResult()
{
    return lastResult.load();
}
