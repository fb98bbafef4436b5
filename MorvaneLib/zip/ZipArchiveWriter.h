// The zip archive writer: creates an archive file, adds folder entries and files one at a
// time, and closes it with the central directory.
//
// Archives use the classic container (no Zip64): file data are deflated at level 8, except
// for names that already denote compressed archives and for folders, which are stored; with a
// password every file entry is encrypted with the traditional zip encryption. An entry that
// would not fit the container is refused and left out. Paths are Windows path texts, translated
// by the platform layer; entry names are 8-bit text with "\" or "/" between their parts.
//
// Every operation returns a ZipResult and records it as the process-wide last result. A failed
// add leaves the archive readable without that entry: Close still writes the central directory
// for every entry that was finished. A writer is used by one thread at a time.
#pragma once

#include "zip/ZipResult.h"

#include <cstdint>
#include <string>

class ZipArchiveWriter {
public:
    // The handle of one writer. Handles are never reused, so a copy kept past Close is still
    // recognised as the handle of an ended writer.
    enum class Handle : std::uint64_t { None = 0 };

    // Creates (or truncates) the archive file. An empty password means no encryption. Returns
    // Handle::None when the file cannot be created (last result ZipNoFile).
    static Handle Create(const std::string& archivePath, const std::string& password = {});

    // Adds a folder entry; its name gets a trailing "/" when it has none.
    static ZipResult AddFolder(Handle writer, const std::string& name);

    // Adds the file at sourcePath under the given name, streaming it in 16384-byte blocks.
    static ZipResult AddFile(Handle writer, const std::string& name, const std::string& sourcePath);

    // Writes the central directory and closes the file. The writer is released and the handle
    // cleared in every case.
    static ZipResult Close(Handle& writer);

    // The result of the latest operation of any writer in this process.
    static ZipResult LastResult();

    ZipArchiveWriter() = delete;
};
