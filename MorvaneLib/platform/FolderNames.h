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

// The first name of the folder in listing order that matches name without regard to case
// (names holding "\" never match). False when there is none or the folder cannot be read.
bool findNameIgnoringCase(const std::string& linuxFolder, std::string_view name, std::string& match);

// The order of readFolderNames.
bool comesBeforeInListing(std::string_view a, std::string_view b);

} // namespace platform
