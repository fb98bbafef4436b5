// The names of a Linux folder in the platform's listing order (shared by path resolution and
// folder listings; not part of the interface other modules use).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Names of the folder without "." and ".." and without names holding "\", ordered by their
// upper-cased bytes, ties by their own bytes. False when the folder cannot be read.
bool readFolderNames(const std::string& linuxFolder, std::vector<std::string>& names);

// The order of readFolderNames.
bool comesBeforeInListing(std::string_view a, std::string_view b);

} // namespace platform
