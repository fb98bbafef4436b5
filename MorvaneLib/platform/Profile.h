// The profile (INI) reader and writer the store relies on.
//
// Files are 8-bit text of lines: "[" section "]" header lines and key "=" value lines; a line
// ends in LF or CR LF, the last one may lack its line end. Sections and keys match without
// regard to letter case, and the first occurrence of a repeated section or key wins. A value is
// the text after the first "=" with blanks and tabs removed at both ends, cut at a NUL byte.
// Lines before the first header, and lines without "=", hold no key. A missing file, section or
// key and an empty value all read as absent: an empty value, count 0.
//
// Setting a key creates the file when missing, appends a missing section at the end of the file
// with its header line, gives an existing key's line the new value in place, and appends a new
// key after the last line of its section that is not empty. Everything else in the file keeps
// its bytes; written lines end in CR LF. A line end inside a value would split it into lines of
// its own, so each CR or LF of a written value becomes a blank. The file is replaced atomically
// (FileSystem.h), and a read-only file is refused, the write lost.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// Reads a key into value, at most size - 1 bytes (a cut never splits a UTF-8 character), and
// returns the number of bytes received. value is always set: "" when absent.
std::size_t readProfileString(std::string_view section, std::string_view key, std::string_view file,
                              std::string& value, std::size_t size);

// Sets a key; false when the file cannot be read or written.
bool writeProfileString(std::string_view section, std::string_view key, std::string_view value,
                        std::string_view file);

// The same rules over profile text held in memory.
std::string profileValue(std::string_view text, std::string_view section, std::string_view key);
std::string withProfileValue(std::string_view text, std::string_view section, std::string_view key,
                             std::string_view value);

} // namespace platform
