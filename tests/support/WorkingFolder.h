// A fresh temporary folder that is the process's working directory for the life of the object.
#pragma once

#include <filesystem>
#include <string>

namespace testsupport {

class WorkingFolder {
public:
    WorkingFolder();
    ~WorkingFolder();
    WorkingFolder(const WorkingFolder&) = delete;
    WorkingFolder& operator=(const WorkingFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }

    // Writes a file below the folder (creating its parents) with exactly these bytes.
    void write(const std::filesystem::path& relative, const std::string& bytes) const;
    // The bytes of a file below the folder; empty when it cannot be read.
    std::string read(const std::filesystem::path& relative) const;
    bool exists(const std::filesystem::path& relative) const;

private:
    std::filesystem::path m_path;
    std::filesystem::path m_previous;
};

// The folder the build lays the program, the library and the shipped store out in.
std::filesystem::path runtimeFolder();
// The top of the source tree (fixtures live under tests/).
std::filesystem::path sourceFolder();

} // namespace testsupport
