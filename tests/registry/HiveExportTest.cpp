#include "HiveTestSupport.h"
#include "WorkingFolder.h"

#include "registry/HiveExport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

using registry::exportKey;
using registry::exportValueLines;
using registry::Hive;
using registry::HiveValue;
using registrytest::keyAt;
using registrytest::utf16;

namespace {

std::string fixture(const char* name)
{
    std::ifstream in(testsupport::sourceFolder() / "tests" / "registry" / "fixtures" / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    lines.push_back(text.substr(start));
    return lines;
}

} // namespace

TEST(HiveExport, MatchesTheGoldenFileByteForByte)
{
    const Hive hive = Hive::parse(fixture("GoldenHive.reg"));
    const Hive::Key key = keyAt(hive, "HKEY_CURRENT_USER\\Software\\Morvane\\Golden");
    ASSERT_NE(key, Hive::noKey);
    const std::string golden = fixture("GoldenExport.reg");
    ASSERT_FALSE(golden.empty());
    EXPECT_EQ(exportKey(hive, key), golden);
}

TEST(HiveExport, WrapsHexDataTightlyWithinEightyColumns)
{
    for (std::size_t nameLength : {1u, 9u, 10u, 11u, 40u, 66u, 72u, 90u}) {
        for (std::size_t size : {0u, 1u, 20u, 21u, 22u, 23u, 25u, 26u, 47u, 300u}) {
            SCOPED_TRACE("name of " + std::to_string(nameLength) + " characters, " + std::to_string(size) + " bytes");
            std::string data;
            for (std::size_t i = 0; i < size; ++i)
                data += static_cast<char>(i * 7);
            const std::string name(nameLength, 'n');
            const std::string prefix = "\"" + name + "\"=hex:";
            const std::vector<std::string> lines = splitLines(exportValueLines({name, REG_BINARY, data}));

            ASSERT_EQ(lines[0].rfind(prefix, 0), 0u);
            std::string joined;
            for (std::size_t i = 0; i < lines.size(); ++i) {
                const std::string& line = lines[i];
                std::string bytes = i == 0 ? line.substr(prefix.size()) : line.substr(2);
                if (i > 0) {
                    EXPECT_EQ(line.rfind("  ", 0), 0u);
                }
                if (i + 1 < lines.size()) {
                    ASSERT_GE(line.size(), 2u);
                    EXPECT_EQ(line.substr(line.size() - 2), ",\\");
                    // Full: one more byte would have passed column 80.
                    if (prefix.size() < 77 || i > 0) {
                        EXPECT_TRUE(line.size() >= 78 && line.size() <= 80) << line;
                    } else {
                        EXPECT_EQ(line.size(), prefix.size() + 4) << "a long name is followed by one byte";
                    }
                    bytes.pop_back();
                }
                joined += bytes;
            }
            std::string expected;
            for (std::size_t i = 0; i < size; ++i) {
                char byte[4];
                std::snprintf(byte, sizeof byte, "%02x", static_cast<unsigned char>(data[i]));
                expected += (i ? "," : "") + std::string(byte);
            }
            EXPECT_EQ(joined, expected);
        }
    }
}

TEST(HiveExport, WritesEachKindInTheRegistryEditorsForm)
{
    struct Case {
        const char* name;
        HiveValue value;
        std::string line;
    };
    const Case cases[] = {
        {"text with escapes", {"a\"b\\c", REG_SZ, utf16("C:\\x \"y\"")}, "\"a\\\"b\\\\c\"=\"C:\\\\x \\\"y\\\"\""},
        {"text beyond ASCII", {"Gr\xC3\xBC\xC3\x9F" "e", REG_SZ, utf16("\xE2\x82\xAC 5")}, "\"Gr\xC3\xBC\xC3\x9F" "e\"=\"\xE2\x82\xAC 5\""},
        {"default value", {"", REG_SZ, utf16("d")}, "@=\"d\""},
        {"value named @", {"@", REG_SZ, utf16("d")}, "\"@\"=\"d\""},
        {"empty text", {"e", REG_SZ, utf16("")}, "\"e\"=\"\""},
        {"dword", {"n", REG_DWORD, std::string("\xFF\xFF\xFF\xFF", 4)}, "\"n\"=dword:ffffffff"},
        {"small dword", {"n", REG_DWORD, std::string("\x2A\0\0\0", 4)}, "\"n\"=dword:0000002a"},
        {"qword", {"q", REG_QWORD, std::string("\x01\0\0\0\0\0\0\x80", 8)}, "\"q\"=hex(b):01,00,00,00,00,00,00,80"},
        {"binary", {"b", REG_BINARY, "\xDE\xAD"}, "\"b\"=hex:de,ad"},
        {"empty binary", {"b", REG_BINARY, ""}, "\"b\"=hex:"},
        {"none", {"z", REG_NONE, ""}, "\"z\"=hex(0):"},
        {"expandable text", {"x", REG_EXPAND_SZ, utf16("%T%")}, "\"x\"=hex(2):25,00,54,00,25,00,00,00"},
        {"kind beyond the named ones", {"o", 0xFFFF0010, "\x01"}, "\"o\"=hex(ffff0010):01"},
        // What the quoted form cannot carry exactly is written as data.
        {"text holding a line break", {"t", REG_SZ, utf16("a\r\nb")}, "\"t\"=hex(1):61,00,0d,00,0a,00,62,00,00,00"},
        {"text holding NUL", {"t", REG_SZ, utf16(std::string("a\0b", 3))}, "\"t\"=hex(1):61,00,00,00,62,00,00,00"},
        {"text without terminator", {"t", REG_SZ, std::string("a\0", 2)}, "\"t\"=hex(1):61,00"},
        {"text of odd length", {"t", REG_SZ, std::string("a\0\0", 3)}, "\"t\"=hex(1):61,00,00"},
        {"text with an unpaired surrogate", {"t", REG_SZ, std::string("\x00\xD8\0\0", 4)}, "\"t\"=hex(1):00,d8,00,00"},
        {"dword of two bytes", {"n", REG_DWORD, "\x01\x02"}, "\"n\"=hex(4):01,02"},
        {"big-endian dword", {"n", REG_DWORD_BIG_ENDIAN, std::string("\0\0\0\x01", 4)}, "\"n\"=hex(5):00,00,00,01"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(exportValueLines(c.value), c.line);
    }
}

TEST(HiveExport, ReadsBackEqualWithEveryKindAndAwkwardNames)
{
    Hive original;
    const Hive::Key top = original.addKey(original.addKey(original.root(HKEY_CURRENT_USER), "Software"), "Round \"Trip\"");
    std::string large;
    for (int i = 0; i < 5000; ++i)
        large += static_cast<char>(i % 251);
    original.setValue(top, {"", REG_SZ, utf16("default")});
    original.setValue(top, {"Text", REG_SZ, utf16("C:\\Program Files\\\"q\"\\")});
    original.setValue(top, {"Lines", REG_SZ, utf16("one\r\ntwo")});
    original.setValue(top, {"Expand", REG_EXPAND_SZ, utf16("%SystemRoot%\\system32")});
    original.setValue(top, {"Multi", REG_MULTI_SZ, utf16(std::string("a\0b\0", 4))});
    original.setValue(top, {"Number", REG_DWORD, std::string("\x78\x56\x34\x12", 4)});
    original.setValue(top, {"Quad", REG_QWORD, std::string("\1\2\3\4\5\6\7\x80", 8)});
    original.setValue(top, {"Large", REG_BINARY, large});
    original.setValue(top, {"None", REG_NONE, ""});
    original.setValue(top, {"Link", REG_LINK, utf16("x", false)});
    original.setValue(top, {"Resources", REG_RESOURCE_LIST, "\x01\x02\x03"});
    original.setValue(top, {"Foreign", 0x12345678, "\xFF"});
    original.setValue(top, {"back\\slash \"quoted\" [bracket] ; semi", REG_SZ, utf16("x")});
    original.setValue(top, {"  blanks  ", REG_SZ, utf16("  y  ")});
    original.setValue(top, {"@", REG_SZ, utf16("not the default")});
    original.setValue(top, {"Caf\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80", REG_SZ, utf16("\xC3\xBC\xF0\x9F\x98\x80")});
    const Hive::Key child = original.addKey(top, "Child ]with] brackets [x]");
    original.setValue(child, {"v", REG_DWORD, std::string(4, '\0')});
    const Hive::Key grandchild = original.addKey(child, "-Gr\xC3\xBC\xC3\x9F" "e \"quoted\"");
    original.addKey(grandchild, ";not a comment");
    original.addKey(top, " Second child ");

    const std::string exported = exportKey(original, top);
    EXPECT_TRUE(Hive::parse(exported) == original) << registrytest::textOfUnicodeFile(exported);
}
