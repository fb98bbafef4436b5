#include "ChildProgram.h"
#include "HiveTestSupport.h"
#include "WorkingFolder.h"

#include "registry/HiveExport.h"

#include <gtest/gtest.h>

using registry::Hive;
using registrytest::keyAt;
using registrytest::unicodeFile;

namespace {

int runExporter(const std::vector<std::string>& arguments)
{
    return testsupport::runChildProgram(testsupport::runtimeFolder() / "MorvaneRegExport", arguments);
}

// A hive with every kind, names that need escaping or are beyond ASCII, and a key outside the
// one exported.
const std::string sourceHive =
    "Windows Registry Editor Version 5.00\r\n"
    "\r\n"
    "[HKEY_CURRENT_USER\\Software\\Vendor \"Q\" \xC3\x9C\\App]\r\n"
    "@=\"default\"\r\n"
    "\"Path\"=\"C:\\\\Program Files\\\\App\"\r\n"
    "\"Say \\\"hi\\\"\"=\"\\\"quoted\\\"\"\r\n"
    "\"Number\"=dword:ffffffff\r\n"
    "\"Quad\"=hex(b):01,02,03,04,05,06,07,08\r\n"
    "\"Expand\"=hex(2):25,00,54,00,25,00,00,00\r\n"
    "\"Multi\"=hex(7):61,00,00,00,62,00,00,00,00,00\r\n"
    "\"Blob\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,\\\r\n"
    "  16,17,18,19,1a,1b,1c,1d,1e,1f,20,21,22,23,24,25,26,27,28,29,2a,2b,2c,2d,2e\r\n"
    "\"Lines\"=hex(1):61,00,0a,00,62,00,00,00\r\n"
    "\r\n"
    "[HKEY_CURRENT_USER\\Software\\Vendor \"Q\" \xC3\x9C\\App\\Sub key\\Deeper]\r\n"
    "\"Caf\xC3\xA9\"=\"\xE2\x82\xAC\"\r\n"
    "\r\n"
    "[HKEY_CURRENT_USER\\Software\\Vendor \"Q\" \xC3\x9C\\App\\Second]\r\n"
    "\r\n"
    "[HKEY_CURRENT_USER\\Software\\Vendor \"Q\" \xC3\x9C\\Other]\r\n"
    "\"Outside\"=\"1\"\r\n";

} // namespace

TEST(ExportProgram, ExportsAKeyWithEverythingBelowItThatReadsBackUnchanged)
{
    testsupport::WorkingFolder folder;
    folder.write("MorvaneRegistry.reg", unicodeFile(sourceHive));
    Hive expected = Hive::parse(unicodeFile(sourceHive));
    expected.deleteKey(keyAt(expected, "HKEY_CURRENT_USER\\Software\\Vendor \"Q\" \xC3\x9C\\Other"));

    const char* spellings[] = {
        "HKEY_CURRENT_USER\\Software\\Vendor \"Q\" \xC3\x9C\\App",
        "hkey_current_user\\SOFTWARE\\vendor \"q\" \xC3\xBC\\app\\",
        "HKCU\\Software\\Vendor \"Q\" \xC3\x9C\\App",
    };
    std::string first;
    for (const char* key : spellings) {
        SCOPED_TRACE(key);
        folder.write("out/keep", "");
        ASSERT_EQ(runExporter({"/e", "/s", ".\\out\\App.reg", key}), 0);
        const std::string exported = folder.read("out/App.reg");
        ASSERT_EQ(exported.substr(0, 2), "\xFF\xFE");
        EXPECT_TRUE(Hive::parse(exported) == expected) << registrytest::textOfUnicodeFile(exported);
        if (first.empty())
            first = exported;
        EXPECT_EQ(exported, first) << "the names are written as the hive spells them";
    }
}

TEST(ExportProgram, WritesNothingWhenItCannotExport)
{
    struct Case {
        const char* name;
        std::vector<std::string> arguments;
        int status;
    };
    const Case cases[] = {
        {"missing key", {"/e", "/s", "out.reg", "HKEY_LOCAL_MACHINE\\SOFTWARE\\Missing"}, 1},
        {"unknown root", {"/e", "/s", "out.reg", "HKEY_NOWHERE\\SOFTWARE\\Vendor"}, 1},
        {"root name alone with garbage", {"/e", "/s", "out.reg", "HKEY_LOCAL_MACHINEX\\SOFTWARE\\Vendor"}, 1},
        {"no export switch", {"/s", "out.reg", "HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor"}, 2},
        {"no key", {"/e", "/s", "out.reg"}, 2},
        {"one text too many", {"/e", "/s", "out.reg", "HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor", "x"}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::WorkingFolder folder;
        folder.write("MorvaneRegistry.reg", "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor]\r\n\"a\"=\"1\"\r\n");
        EXPECT_EQ(runExporter(c.arguments), c.status);
        EXPECT_FALSE(folder.exists("out.reg"));
    }

    SCOPED_TRACE("no hive file, and a file there before");
    testsupport::WorkingFolder folder;
    folder.write("out.reg", "before");
    EXPECT_EQ(runExporter({"/e", "/s", "out.reg", "HKEY_LOCAL_MACHINE\\SOFTWARE"}), 1);
    EXPECT_EQ(folder.read("out.reg"), "before");

    SCOPED_TRACE("a folder that does not exist");
    folder.write("MorvaneRegistry.reg", "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor]\r\n");
    EXPECT_EQ(runExporter({"/e", "/s", ".\\missing\\out.reg", "HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor"}), 3);
    EXPECT_FALSE(folder.exists("missing"));
}
