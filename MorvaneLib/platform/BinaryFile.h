// Binary file access for the archive writer: a source opened for reading, an output created
// for writing, block reads and writes, positioning, and the facts of an open file.
//
// Paths are Linux paths (callers translate Windows path texts first). Every operation returns
// its outcome and fills its outputs only when it succeeds; nothing throws. Only regular files
// are opened for reading, so a FIFO never blocks a caller and a folder never opens. Tests can
// make writes come up short or fail, and seeks fail, on every file created for writing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace platform {

// What the file system says about an open file. Times are seconds since 1 January 1970 (UTC).
// Read-only means no owner write bit; the platform has no hidden, system or archive bits.
struct FileFacts {
    std::uint64_t size = 0;
    std::int64_t lastWriteTime = 0;
    std::int64_t lastAccessTime = 0;
    std::int64_t creationTime = 0; // the last-write time where the file system keeps none
    bool readOnly = false;
    bool folder = false;
};

class BinaryFile {
public:
    BinaryFile() = default;
    ~BinaryFile();
    BinaryFile(BinaryFile&& other) noexcept;
    BinaryFile& operator=(BinaryFile&& other) noexcept;
    BinaryFile(const BinaryFile&) = delete;
    BinaryFile& operator=(const BinaryFile&) = delete;

    // Opens an existing regular file (or the target of a link to one) for reading.
    bool openForReading(const std::string& path);
    // Creates the file for writing, or truncates it when it exists.
    bool createForWriting(const std::string& path);

    bool isOpen() const { return m_descriptor >= 0; }

    // Reads up to size bytes. True with count 0 at the end of the file; false on a read error.
    bool read(void* buffer, std::size_t size, std::size_t& count);
    // Writes the bytes, and returns how many the file took: fewer than size means the write
    // failed (a full disk, say) after that many bytes.
    std::size_t write(const void* data, std::size_t size);
    // Positions the file at an offset from its start.
    bool seek(std::uint64_t offset);
    // Cuts the file to the given size (its position is left where it was).
    bool truncate(std::uint64_t size);

    bool facts(FileFacts& facts) const;

    // Closes the file; false when the system reports that earlier writes did not reach it.
    // Closing a file that is not open succeeds.
    bool close();

private:
    int m_descriptor = -1;
    bool m_faultsApply = false;
};

// Faults that tests inject into every file created for writing. Each hook that is set is asked
// before the operation: write gets the offset a write starts at and its size and returns how
// many bytes the file takes (0 fails the write); seek gets the target offset and returns
// whether the seek succeeds.
struct WriteFaults {
    std::function<std::size_t(std::uint64_t offset, std::size_t size)> write;
    std::function<bool(std::uint64_t offset)> seek;
};

// Installs the faults (empty hooks restore normal behaviour); returns those installed before.
WriteFaults setWriteFaults(WriteFaults faults);

} // namespace platform
