#include "HiveTestSupport.h"

#include <gtest/gtest.h>

using registry::Hive;
using registry::HiveValue;
using registrytest::keyAt;
using registrytest::unicodeFile;
using registrytest::utf16;

namespace {

struct Encoding {
    const char* name;
    const char* header;
    bool unicodeHex;  // hex(2)/hex(7) data in UTF-16LE as the Unicode format holds it
    std::string (*encode)(std::string_view);
};

std::string asIs(std::string_view text) { return std::string(text); }
std::string withUtf8Mark(std::string_view text) { return "\xEF\xBB\xBF" + std::string(text); }
std::string withCrLf(std::string_view text)
{
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}
std::string unicodeWithCrLf(std::string_view text) { return unicodeFile(withCrLf(text)); }

} // namespace

TEST(HiveReader, ReadsEveryValueKindInEachFileEncoding)
{
    const Encoding encodings[] = {
        {"REGEDIT4, 8-bit", "REGEDIT4", false, asIs},
        {"REGEDIT4, 8-bit, CR LF", "REGEDIT4", false, withCrLf},
        {"version 5, UTF-16LE", "Windows Registry Editor Version 5.00", true, unicodeWithCrLf},
        {"version 5, 8-bit", "Windows Registry Editor Version 5.00", true, asIs},
        {"version 5, UTF-8 mark", "Windows Registry Editor Version 5.00", true, withUtf8Mark},
    };
    for (const Encoding& encoding : encodings) {
        SCOPED_TRACE(encoding.name);
        const std::string expand = encoding.unicodeHex ? "25,00,54,00,25,00,00,00" : "25,54,25,00";
        const std::string multi = encoding.unicodeHex ? "61,00,00,00,62,00,00,00,00,00" : "61,00,62,00,00";
        const std::string text = std::string(encoding.header) + "\n\n"
            "; a comment\n"
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor]\n"
            "@=\"default\"\n"
            "\"Text\"=\"C:\\\\Data \\\"x\\\"\"\n"
            "\"Number\"=dword:ffffffff\n"
            "\"Big\"=hex(b):01,00,00,00,00,00,00,80\n"
            "\"Blob\"=hex:de,ad,\\\n"
            "  be,ef\n"
            "\"Expand\"=hex(2):" + expand + "\n"
            "\"Multi\"=hex(7):" + multi + "\n"
            "\"None\"=hex(0):\n"
            "\"Other\"=hex(ffff0010):01\n"
            "\"Gr\xC3\xBC\xC3\x9F" "e\"=\"\xC3\x9C" "ber\"\n";
        const Hive hive = Hive::parse(encoding.encode(text));
        const Hive::Key key = keyAt(hive, "HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor");
        ASSERT_NE(key, Hive::noKey);
        const std::vector<HiveValue> expected = {
            {"", REG_SZ, utf16("default")},
            {"Text", REG_SZ, utf16("C:\\Data \"x\"")},
            {"Number", REG_DWORD, std::string(4, '\xFF')},
            {"Big", REG_QWORD, std::string("\x01\0\0\0\0\0\0\x80", 8)},
            {"Blob", REG_BINARY, "\xDE\xAD\xBE\xEF"},
            {"Expand", REG_EXPAND_SZ, utf16("%T%")},
            {"Multi", REG_MULTI_SZ, utf16(std::string("a\0b\0", 4))},
            {"None", REG_NONE, ""},
            {"Other", 0xFFFF0010, "\x01"},
            {"Gr\xC3\xBC\xC3\x9F" "e", REG_SZ, utf16("\xC3\x9C" "ber")},
        };
        EXPECT_EQ(hive.values(key), expected);
    }
}

TEST(HiveReader, KeepsFileOrderAndFindsNamesWithoutRegardToCase)
{
    const Hive hive = Hive::parse(
        "REGEDIT4\n"
        "[HKEY_CURRENT_USER\\Software\\Zeta]\n"
        "\"Second\"=\"2\"\n"
        "\"First\"=\"1\"\n"
        "[hkey_current_user\\SOFTWARE\\Alpha\\\xC3\x84rger]\n"
        "[HKEY_CURRENT_USER\\software\\zeta]\n"
        "\"SECOND\"=\"two\"\n"
        "\"Third\"=\"3\"\n");
    const Hive::Key software = keyAt(hive, "HKEY_CURRENT_USER\\Software");
    ASSERT_NE(software, Hive::noKey);
    EXPECT_EQ(hive.name(software), "Software") << "a key keeps the spelling it was first given";
    ASSERT_EQ(hive.subkeys(software).size(), 2u) << "a key named twice is one key";
    EXPECT_EQ(hive.name(hive.subkeys(software)[0]), "Zeta");
    EXPECT_EQ(hive.name(hive.subkeys(software)[1]), "Alpha");

    const Hive::Key zeta = keyAt(hive, "HKEY_CURRENT_USER\\SOFTWARE\\ZETA");
    ASSERT_NE(zeta, Hive::noKey);
    const std::vector<HiveValue> expected = {
        {"Second", REG_SZ, utf16("two")},
        {"First", REG_SZ, utf16("1")},
        {"Third", REG_SZ, utf16("3")},
    };
    EXPECT_EQ(hive.values(zeta), expected);
    ASSERT_NE(hive.findValue(zeta, "third"), nullptr);
    EXPECT_EQ(hive.findValue(zeta, "third")->name, "Third");
    EXPECT_NE(keyAt(hive, "HKEY_CURRENT_USER\\Software\\ALPHA\\\xC3\xA4RGER"), Hive::noKey)
        << "letters beyond ASCII are compared without regard to case too";
    EXPECT_EQ(hive.path(keyAt(hive, "hkey_current_user\\software\\alpha")), "HKEY_CURRENT_USER\\Software\\Alpha");
}

TEST(HiveReader, RemovesKeysAndValuesMarkedForRemoval)
{
    const Hive hive = Hive::parse(
        "Windows Registry Editor Version 5.00\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Gone\\Child]\n"
        "\"a\"=\"1\"\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kept]\n"
        "\"Stays\"=\"1\"\n"
        "\"Goes\"=\"1\"\n"
        "\"Goes\"=-\n"
        "[-HKEY_LOCAL_MACHINE\\SOFTWARE\\GONE]\n"
        "\"Orphan\"=\"values after a removal belong to no key\"\n"
        "[-HKEY_LOCAL_MACHINE]\n");
    EXPECT_EQ(keyAt(hive, "HKEY_LOCAL_MACHINE\\SOFTWARE\\Gone"), Hive::noKey);
    const Hive::Key kept = keyAt(hive, "HKEY_LOCAL_MACHINE\\SOFTWARE\\Kept");
    ASSERT_NE(kept, Hive::noKey) << "a root is never removed";
    EXPECT_EQ(hive.values(kept), (std::vector<HiveValue>{{"Stays", REG_SZ, utf16("1")}}));
}

TEST(HiveReader, SkipsLinesItCannotUnderstandAndKeepsTheRest)
{
    struct Case {
        const char* name;
        const char* lines;
    };
    const Case cases[] = {
        {"odd hex digits", "\"Bad\"=hex:1,234,5\n"},
        {"hex that is no number", "\"Bad\"=hex:0g\n"},
        {"unknown hex kind", "\"Bad\"=hex(zz):00\n"},
        {"dword of nine digits", "\"Bad\"=dword:123456789\n"},
        {"dword with no digits", "\"Bad\"=dword:\n"},
        {"text without its closing quote", "\"Bad\"=\"abc\n"},
        {"name without quotes", "Bad=\"abc\"\n"},
        {"no equals sign", "\"Bad\" \"abc\"\n"},
        {"unknown kind", "\"Bad\"=word:1\n"},
        {"garbage after the text", "\"Bad\"=\"abc\" x\n"},
        {"key line without its bracket", "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Open\n\"Bad\"=\"abc\"\n"},
        {"key under an unknown root", "[HKLM\\SOFTWARE\\Short]\n\"Bad\"=\"abc\"\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Hive hive = Hive::parse(std::string("REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\T]\n\"Before\"=\"1\"\n") +
                                      c.lines + "[HKEY_LOCAL_MACHINE\\SOFTWARE\\T]\n\"After\"=\"2\"\n");
        const Hive::Key key = keyAt(hive, "HKEY_LOCAL_MACHINE\\SOFTWARE\\T");
        ASSERT_NE(key, Hive::noKey);
        EXPECT_EQ(hive.values(key), (std::vector<HiveValue>{{"Before", REG_SZ, utf16("1")}, {"After", REG_SZ, utf16("2")}}));
        EXPECT_EQ(keyAt(hive, "HKEY_LOCAL_MACHINE\\SOFTWARE\\Open"), Hive::noKey);
        EXPECT_EQ(hive.subkeys(keyAt(hive, "HKEY_LOCAL_MACHINE")).size(), 1u);
    }
}

TEST(HiveReader, ReadsNothingWithoutTheFormatLine)
{
    const std::string body = "\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\X]\n\"a\"=\"1\"\n";
    const std::pair<const char*, std::string> cases[] = {
        {"empty file", ""},
        {"another format line", "REGEDIT5" + body},
        {"format line not first", "\nREGEDIT4" + body},
        {"UTF-16 mark before 8-bit text", "\xFF\xFE" "REGEDIT4" + body},
        {"UTF-16 big-endian", "\xFE\xFF" + std::string("\0R\0E\0G\0E\0D\0I\0T\0" "4\0\n", 18)},
    };
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(Hive::parse(bytes) == Hive());
    }
}

TEST(HiveReader, ReadsHostileInputAsFarAsItMakesSense)
{
    SCOPED_TRACE("a value of 1 MiB");
    {
        const std::string data(1 << 20, '\x5a');
        std::string line = "\"Large\"=hex:";
        for (std::size_t i = 0; i < data.size(); ++i)
            line += (i % 25 == 24) ? "5a,\\\n  " : "5a,";
        line.resize(line.size() - 1);
        const Hive hive = Hive::parse(unicodeFile("Windows Registry Editor Version 5.00\r\n[HKEY_USERS\\L]\r\n" + line + "\r\n"));
        const HiveValue* value = hive.findValue(keyAt(hive, "HKEY_USERS\\L"), "Large");
        ASSERT_NE(value, nullptr);
        EXPECT_EQ(value->data, data);
    }
    SCOPED_TRACE("a key path 10,000 levels deep");
    {
        std::string path = "HKEY_USERS";
        for (int i = 0; i < 10000; ++i)
            path += "\\k";
        const Hive hive = Hive::parse("REGEDIT4\n[" + path + "]\n\"Deep\"=dword:00000001\n");
        const Hive::Key deepest = keyAt(hive, path);
        ASSERT_NE(deepest, Hive::noKey);
        EXPECT_NE(hive.findValue(deepest, "Deep"), nullptr);
        EXPECT_EQ(hive.path(deepest), path);
    }
    SCOPED_TRACE("a UTF-16 file cut in the middle of a character and of a line");
    {
        std::string bytes = unicodeFile("Windows Registry Editor Version 5.00\r\n[HKEY_USERS\\T]\r\n\"Whole\"=\"1\"\r\n\"Cut\"=\"abc");
        bytes.pop_back();
        const Hive hive = Hive::parse(bytes);
        const Hive::Key key = keyAt(hive, "HKEY_USERS\\T");
        ASSERT_NE(key, Hive::noKey);
        EXPECT_EQ(hive.values(key), (std::vector<HiveValue>{{"Whole", REG_SZ, utf16("1")}}));
    }
    SCOPED_TRACE("unpaired surrogates, NUL bytes and invalid 8-bit text");
    {
        std::string bytes = unicodeFile("Windows Registry Editor Version 5.00\r\n[HKEY_USERS\\T]\r\n\"");
        bytes += std::string("\x00\xD8", 2);  // an unpaired high surrogate
        bytes += registry::toUtf16le(std::string("\"=\"a\0b\"\r\n", 10));
        const Hive hive = Hive::parse(bytes);
        const Hive::Key key = keyAt(hive, "HKEY_USERS\\T");
        ASSERT_NE(key, Hive::noKey);
        ASSERT_EQ(hive.values(key).size(), 1u);
        EXPECT_EQ(hive.values(key)[0].name, "\xEF\xBF\xBD");
        EXPECT_EQ(hive.values(key)[0].data, utf16(std::string("a\0b", 3)));

        const Hive ansi = Hive::parse("REGEDIT4\n[HKEY_USERS\\Caf\xE9]\n");
        EXPECT_NE(keyAt(ansi, "HKEY_USERS\\Caf\xC3\xA9"), Hive::noKey) << "an invalid 8-bit byte reads as Latin-1";
    }
}
