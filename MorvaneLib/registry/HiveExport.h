// The registry editor's export format: a key with everything below it as .reg text.
//
// The text starts with the byte-order mark and the line "Windows Registry Editor Version
// 5.00" and is UTF-16LE with CR LF line ends. Each key, depth first in the hive's order, is a
// blank line, "[full path]" and one line per value: "name"="text" (with \ and " escaped),
// dword:xxxxxxxx, or hex(type): with the data's bytes, "@" naming the default value. A blank
// line ends the text. Hex data is wrapped the way the registry editor wraps it: after a byte
// whose comma passes column 76 the line ends in "\" and the next one starts with two blanks,
// so that no line is longer than 80 characters.
#pragma once

#include "registry/Hive.h"

#include <string>

namespace registry {

// The export of key and everything below it, as the bytes of the file.
std::string exportKey(const Hive& hive, Hive::Key key);

// One value's line or lines, without the last line end, in 8-bit text.
std::string exportValueLines(const HiveValue& value);

} // namespace registry
