// Task-level file operations on Windows path texts (translated and resolved as Path.h says).
//
// Every operation takes Windows path texts, returns true on success and fills its outputs only
// then; nothing throws. Read-only means "no owner write bit": a read-only file is never written,
// replaced or deleted by these operations, whoever runs them. Folder listings leave out "." and
// "..", and entries whose name holds "\" (no Windows path can name them), and come in listing
// order: names compared byte by byte with letters upper-cased, ties in byte order. Writers
// that rewrite a file (copyFile, replaceFile) write a temporary file in the target's folder and
// rename it over the target's existing spelling, so a failure leaves the previous file whole
// and no reader ever sees a part of the new one; replaceFile also puts the new bytes on the disk
// before the rename.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

// File attribute bits in the platform's values. Hidden, system and archive are never reported;
// setting any value without FILE_ATTRIBUTE_READONLY makes a file normal (owner read and write).
constexpr std::uint32_t FILE_ATTRIBUTE_READONLY = 0x01;
constexpr std::uint32_t FILE_ATTRIBUTE_DIRECTORY = 0x10;
constexpr std::uint32_t FILE_ATTRIBUTE_ARCHIVE = 0x20;
constexpr std::uint32_t FILE_ATTRIBUTE_NORMAL = 0x80;

namespace platform {

enum class EntryKind {
    Folder,
    RegularFile,
    LinkToRegularFile, // a symbolic link whose target is a regular file
    Other,             // FIFO, socket, device, link to a folder, dangling link
};

// What the file system says about one path. For a link to a regular file, the modification
// time and size are those of its target; read-only is the owner write bit of the target.
struct FileInfo {
    EntryKind kind = EntryKind::Other;
    std::time_t modified = 0;
    std::uint64_t size = 0;
    bool readOnly = false;
};

struct FolderEntry {
    std::string name;
    FileInfo info;
};

bool pathExists(std::string_view path);
bool isFolder(std::string_view path);
bool getFileInfo(std::string_view path, FileInfo& info);

// The entries of a folder in listing order; false when the folder cannot be listed.
bool listFolder(std::string_view folder, std::vector<FolderEntry>& entries);

// One folder level; false when it exists already or its parent is missing.
bool createFolder(std::string_view path);
// Removes an empty folder.
bool removeFolder(std::string_view path);
// Deletes a file (not a folder); a read-only file is refused.
bool deleteFile(std::string_view path);

// Copies a regular file (or the target of a link to one) over the target, read to its end
// whatever size it reports. The copy gets the source's permissions and modification time.
// A source that is not a regular file is never opened; a read-only target is refused.
bool copyFile(std::string_view source, std::string_view target);

// The whole content of a regular file, read to its end.
bool readFile(std::string_view path, std::string& bytes);

// Replaces the file with exactly these bytes, creating it when missing. An existing file keeps
// its permissions and its spelling; a read-only file is refused and left as it was.
bool replaceFile(std::string_view path, std::string_view bytes);

// Appends the bytes with one write, creating the file when missing. Callers pass the exact
// bytes: a text-mode line ends in CR LF.
bool appendToFile(std::string_view path, std::string_view bytes);

// FILE_ATTRIBUTE_* bits of a path.
bool getFileAttributes(std::string_view path, std::uint32_t& attributes);
// FILE_ATTRIBUTE_READONLY clears every write bit; anything else gives owner read and write.
bool setFileAttributes(std::string_view path, std::uint32_t attributes);

} // namespace platform
