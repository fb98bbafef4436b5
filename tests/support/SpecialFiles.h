// Entries that are neither files nor folders, for tests that the system never opens them.
#pragma once

#include <filesystem>

namespace testsupport {

// Creates a named pipe with no writer: opening it for reading would block.
void makeFifo(const std::filesystem::path& path);

} // namespace testsupport
