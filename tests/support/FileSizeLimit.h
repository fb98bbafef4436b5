// Limits the size of the files the process may write for the life of the object, so a write
// past the limit fails the way it does on a full disk (EFBIG, no signal).
#pragma once

#include <cstdint>

namespace testsupport {

class FileSizeLimit {
public:
    explicit FileSizeLimit(std::uint64_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    std::uint64_t m_previousSoft = 0;
    void (*m_previousHandler)(int) = nullptr;
};

} // namespace testsupport
