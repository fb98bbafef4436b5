// Folder and file operations of the collection run, on Windows path texts.
//
// Names beginning with "." are never visited by the tree operations. Each operation reports
// failure only through its result and stops at the first entry it cannot handle; none logs.
#pragma once

#include <string>

// Creates every missing folder of the path. True when the path is a folder afterwards.
bool makeFolderPath(const std::string& path);

// Creates the target folder with its missing levels and copies every file of the source into
// it, and every subfolder too when recursive. True when every copy succeeded.
bool copyFolderTree(const std::string& source, const std::string& target, bool recursive);

// Copies a file, overwriting an existing target.
bool copyFile(const std::string& source, const std::string& target);

// Deletes a folder with everything in it; read-only entries do not stop it. True when the
// folder is gone afterwards (also when it never existed).
bool deleteFolderTree(const std::string& path);
