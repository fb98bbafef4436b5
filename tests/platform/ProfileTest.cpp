#include "platform/Profile.h"

#include "WorkingFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

TEST(Profile, ReadsKeysTheWayThePlatformDoes)
{
    const std::string text =
        "orphan=before any section\r\n"
        "[CONFIGURATION]\r\n"
        "Local Directory = .\\BugReports\\ \r\n"
        "FTP Path=\r\n"
        "Perform FTP\t=\t1\t\r\n"
        "Perform FTP=second\r\n"
        "line without equals\r\n"
        "  Spaced Key  =value = with equals\r\n"
        "[ Files ]\n"
        "0)Filenum=5\n"
        "[configuration]\r\n"
        "Late=repeated section is never read\r\n"
        "[REGISTRY]\r\n"
        "0)HKEY=HKEY_CURRENT_USER\\Software\\Morvane";
    struct Case {
        const char* section;
        const char* key;
        const char* value;
    };
    const Case cases[] = {
        {"CONFIGURATION", "Local Directory", ".\\BugReports\\"},
        {"configuration", "LOCAL DIRECTORY", ".\\BugReports\\"},
        {"CONFIGURATION", "FTP Path", ""},
        {"CONFIGURATION", "Perform FTP", "1"},
        {"CONFIGURATION", "line without equals", ""},
        {"CONFIGURATION", "Spaced Key", "value = with equals"},
        {"CONFIGURATION", "orphan", ""},
        {"CONFIGURATION", "Late", ""},
        {"FILES", "0)Filenum", "5"},
        {"FILES", "0)filenum", "5"},
        {"registry", "0)HKEY", "HKEY_CURRENT_USER\\Software\\Morvane"},
        {"REGISTRY", "1)HKEY", ""},
        {"MISSING", "0)HKEY", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.section) + " / " + c.key);
        EXPECT_EQ(platform::profileValue(text, c.section, c.key), c.value);
    }
}

TEST(Profile, ReadsAreCutAtTheBufferSize)
{
    testsupport::WorkingFolder folder;
    const std::string longDirectory(2500, 'd');
    const std::string longSetting(5000, 's');
    folder.write("p.ini", "[FILES]\r\n0)Filenum=1234\r\n0)Recursive=10\r\n0)Directory=" + longDirectory +
                              "\r\n0)FileFormat=" + std::string(80, 'f') + "\r\n[CONFIGURATION]\r\nX=" +
                              longSetting + "\r\nU=a\xC3\xA9z\r\n");
    struct Case {
        const char* section;
        const char* key;
        std::size_t size;
        std::string value;
    };
    const Case cases[] = {
        {"FILES", "0)Filenum", 4, "123"},
        {"FILES", "0)Recursive", 2, "1"},
        {"FILES", "0)Directory", 2000, std::string(1999, 'd')},
        {"FILES", "0)FileFormat", 60, std::string(59, 'f')},
        {"CONFIGURATION", "X", 4000, std::string(3999, 's')},
        {"CONFIGURATION", "U", 3, "a"}, // the two bytes of the accented letter stay together
        {"CONFIGURATION", "U", 4, "a\xC3\xA9"},
        {"CONFIGURATION", "U", 1, ""},
        {"CONFIGURATION", "U", 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.key) + " size " + std::to_string(c.size));
        std::string value = "untouched";
        EXPECT_EQ(platform::readProfileString(c.section, c.key, ".\\P.INI", value, c.size), c.value.size());
        EXPECT_EQ(value, c.value);
    }

    std::string value = "untouched";
    EXPECT_EQ(platform::readProfileString("FILES", "0)Filenum", ".\\missing.ini", value, 4), 0u);
    EXPECT_EQ(value, "");
}

TEST(Profile, WritesKeysInPlaceAtTheEndOfTheirSectionOrInANewSection)
{
    struct Case {
        const char* name;
        std::string before;
        const char* section;
        const char* key;
        const char* value;
        std::string after;
    };
    const Case cases[] = {
        {"empty text", "", "S", "k", "v", "[S]\r\nk=v\r\n"},
        {"new section at the end", "[A]\r\nx=1\r\n", "B", "y", "2", "[A]\r\nx=1\r\n[B]\r\ny=2\r\n"},
        {"new section after a last line without line end", "[A]\r\nx=1", "B", "y", "2",
         "[A]\r\nx=1\r\n[B]\r\ny=2\r\n"},
        {"new key after the last key, before empty lines", "[A]\r\nx=1\r\n\r\n\r\n[B]\r\ny=2\r\n", "a", "z", "3",
         "[A]\r\nx=1\r\nz=3\r\n\r\n\r\n[B]\r\ny=2\r\n"},
        {"new key in the last section", "[A]\r\nx=1\r\n[B]\r\ny=2", "B", "w", "4",
         "[A]\r\nx=1\r\n[B]\r\ny=2\r\nw=4\r\n"},
        {"new key below a bare header", "\r\n\r\n[FILES]\r\n", "FILES", "0)Filenum", "5",
         "\r\n\r\n[FILES]\r\n0)Filenum=5\r\n"},
        {"existing key keeps its line and spelling", "[A]\r\nKey = old value\r\nnext=1\r\n", "a", "KEY", "new",
         "[A]\r\nKey =new\r\nnext=1\r\n"},
        {"first of repeated keys", "[A]\nk=1\nk=2\n", "A", "k", "3", "[A]\nk=3\nk=2\n"},
        {"LF lines keep their ends", "[A]\nx=1\n[B]\ny=2\n", "A", "z", "3", "[A]\nx=1\nz=3\r\n[B]\ny=2\n"},
        {"line ends in a value become blanks", "", "S", "k", "one\r\ntwo\nthree", "[S]\r\nk=one  two three\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string written = platform::withProfileValue(c.before, c.section, c.key, c.value);
        EXPECT_EQ(written, c.after);
    }
}

TEST(Profile, WriterCreatesAndReplacesTheFileUnderItsExistingSpelling)
{
    testsupport::WorkingFolder folder;
    ASSERT_TRUE(platform::writeProfileString("SELECT PACKAGE", "0)Name", "System Logs", ".\\Current_Morvane.ini"));
    EXPECT_EQ(folder.read("Current_Morvane.ini"), "[SELECT PACKAGE]\r\n0)Name=System Logs\r\n");

    ASSERT_TRUE(platform::writeProfileString("select package", "1)Name", "Lab", ".\\CURRENT_MORVANE.INI"));
    EXPECT_EQ(folder.read("Current_Morvane.ini"), "[SELECT PACKAGE]\r\n0)Name=System Logs\r\n1)Name=Lab\r\n");
    EXPECT_FALSE(folder.exists("CURRENT_MORVANE.INI"));

    std::string value;
    EXPECT_EQ(platform::readProfileString("Select Package", "1)NAME", ".\\current_morvane.ini", value, 120), 3u);
    EXPECT_EQ(value, "Lab");
}

TEST(Profile, WriteToAReadOnlyFileIsLost)
{
    testsupport::WorkingFolder folder;
    folder.write("ro.ini", "[A]\r\nx=1\r\n");
    fs::permissions(folder.path() / "ro.ini", fs::perms(0444));
    EXPECT_FALSE(platform::writeProfileString("A", "x", "2", ".\\ro.ini"));
    EXPECT_EQ(folder.read("ro.ini"), "[A]\r\nx=1\r\n");
    EXPECT_EQ(fs::status(folder.path() / "ro.ini").permissions() & fs::perms::mask, fs::perms(0444));
}

TEST(Profile, BadInputReadsWhatTheRulesGive)
{
    std::string garbage;
    for (int i = 0; i < 4096; ++i)
        garbage += static_cast<char>((i * 7919) % 256);
    EXPECT_EQ(platform::profileValue(garbage, "A", "k"), "");

    const std::string withNul("[A]\r\nk=ab\0cd\r\nk2=\0\r\n", 19);
    EXPECT_EQ(platform::profileValue(withNul, "A", "k"), "ab");
    EXPECT_EQ(platform::profileValue(withNul, "A", "k2"), "");

    const std::string hugeLine(1 << 20, 'x');
    const std::string huge = "[A]\r\n" + hugeLine + "\r\nk=" + hugeLine + "\r\n[B]\r\nb=1";
    EXPECT_EQ(platform::profileValue(huge, "A", "k"), hugeLine);
    EXPECT_EQ(platform::profileValue(huge, "B", "b"), "1");
    EXPECT_EQ(platform::profileValue("[A]", "A", "k"), "");
    EXPECT_EQ(platform::profileValue("[A", "A", "k"), "");
    EXPECT_EQ(platform::profileValue("[A\nk=1", "a", "k"), "1");
    EXPECT_EQ(platform::profileValue("\r\n\n\r", "A", "k"), "");

    const std::string rewritten = platform::withProfileValue(huge, "B", "b", "2");
    EXPECT_EQ(platform::profileValue(rewritten, "B", "b"), "2");
    EXPECT_EQ(rewritten.size(), huge.size());
}
