#include "WorkingFolder.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

namespace testsupport {

WorkingFolder::WorkingFolder()
    : m_previous(std::filesystem::current_path())
{
    std::string pattern = (std::filesystem::temp_directory_path() / "morvane-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary folder");
    m_path = pattern;
    std::filesystem::current_path(m_path);
}

WorkingFolder::~WorkingFolder()
{
    std::error_code ignored;
    std::filesystem::current_path(m_previous, ignored);
    // Tests may leave read-only entries behind; make them removable first.
    for (auto it = std::filesystem::recursive_directory_iterator(m_path, ignored);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
        if (!it->is_symlink(ignored))
            std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ignored);
    }
    std::filesystem::remove_all(m_path, ignored);
}

void WorkingFolder::write(const std::filesystem::path& relative, const std::string& bytes) const
{
    const auto target = m_path / relative;
    std::filesystem::create_directories(target.parent_path());
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string WorkingFolder::read(const std::filesystem::path& relative) const
{
    std::ifstream in(m_path / relative, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool WorkingFolder::exists(const std::filesystem::path& relative) const
{
    std::error_code ignored;
    return std::filesystem::exists(std::filesystem::symlink_status(m_path / relative, ignored));
}

static std::filesystem::path fromEnvironment(const char* name)
{
    const char* value = std::getenv(name);
    if (!value)
        throw std::runtime_error(std::string(name) + " is not set; run the tests through ctest");
    return value;
}

std::filesystem::path runtimeFolder() { return fromEnvironment("MORVANE_RUNTIME_DIR"); }
std::filesystem::path sourceFolder() { return fromEnvironment("MORVANE_SOURCE_DIR"); }

} // namespace testsupport
