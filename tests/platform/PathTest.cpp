#include "platform/Path.h"

#include "WorkingFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

std::string backslashed(std::string path)
{
    for (char& c : path) {
        if (c == '/')
            c = '\\';
    }
    return path;
}

} // namespace

TEST(Path, TranslatesDrivesSeparatorsAndRelativeTexts)
{
    testsupport::WorkingFolder folder;
    struct Case {
        const char* windows;
        bool names;
        const char* linux;
    };
    const Case cases[] = {
        {"C:\\", true, "/"},
        {"c:\\", true, "/"},
        {"C:\\nothing-here\\x.txt", true, "/nothing-here/x.txt"},
        {"C:\\nothing-here\\sub\\", true, "/nothing-here/sub/"},
        {"\\nothing-here", true, "/nothing-here"},
        {".\\", true, "./"},
        {".\\Morvane Package\\a.ini", true, "Morvane Package/a.ini"},
        {"Morvane Package\\a.ini", true, "Morvane Package/a.ini"},
        {"C:a.ini", true, "a.ini"},
        {"a\\\\b//c", true, "a/b/c"},
        {"a/b", true, "a/b"},
        {"..\\up", true, "../up"},
        {"D:\\x", false, ""},
        {"z:\\", false, ""},
        {"\\\\host\\share\\x", false, ""},
        {"", false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.windows);
        std::string linux = "untouched";
        EXPECT_EQ(platform::toLinuxPath(c.windows, linux), c.names);
        EXPECT_EQ(linux, c.names ? c.linux : "untouched");
    }
}

TEST(Path, ResolvesEachComponentWithoutRegardToCaseExactSpellingFirst)
{
    testsupport::WorkingFolder folder;
    folder.write("Morvane Package/Current_Package_Lab.ini", "");
    folder.write("Twins/abc", "");
    folder.write("Twins/ABC", "");
    folder.write("Twins/Abd", "");

    struct Case {
        const char* windows;
        const char* linux;
    };
    const Case cases[] = {
        {".\\morvane package\\current_package_lab.ini", "Morvane Package/Current_Package_Lab.ini"},
        {".\\MORVANE PACKAGE\\Current_package_Lab.INI", "Morvane Package/Current_Package_Lab.ini"},
        {".\\Twins\\abc", "Twins/abc"},
        {".\\Twins\\ABC", "Twins/ABC"},
        {".\\Twins\\aBc", "Twins/ABC"}, // first in listing order: "ABC" before "abc"
        {".\\twins\\ABD", "Twins/Abd"},
        {".\\twins\\new.txt", "Twins/new.txt"},
        {".\\Missing\\twins\\abc", "Missing/twins/abc"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.windows);
        std::string linux;
        ASSERT_TRUE(platform::toLinuxPath(c.windows, linux));
        EXPECT_EQ(linux, c.linux);
    }

    std::string absolute;
    ASSERT_TRUE(platform::toLinuxPath("C:" + backslashed(folder.path().string()) + "\\TWINS\\abd", absolute));
    EXPECT_EQ(absolute, (folder.path() / "Twins/Abd").string());
}

TEST(Path, NeverMatchesNamesHoldingABackslash)
{
    testsupport::WorkingFolder folder;
    folder.write("a\\b", "");
    std::string linux;
    ASSERT_TRUE(platform::toLinuxPath(".\\A\\B", linux));
    EXPECT_EQ(linux, "A/B");
}

TEST(Path, MapsLinuxFoldersBackToDriveC)
{
    testsupport::WorkingFolder folder;
    struct Case {
        const char* linux;
        bool expressible;
        std::string windows;
    };
    const Case cases[] = {
        {"/", true, "C:\\"},
        {"/home/ann/logs", true, "C:\\home\\ann\\logs"},
        {"/home/ann/logs/", true, "C:\\home\\ann\\logs"},
        {"/a/./b/../c", true, "C:\\a\\c"},
        {"sub/dir", true, "C:" + backslashed(folder.path().string()) + "\\sub\\dir"},
        {"/odd/na\\me", false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.linux);
        std::string windows = "untouched";
        EXPECT_EQ(platform::toWindowsPath(c.linux, windows), c.expressible);
        EXPECT_EQ(windows, c.expressible ? c.windows : "untouched");
    }
}

TEST(Path, ComparesNamesWithoutRegardToLetterCase)
{
    EXPECT_TRUE(platform::sameNameIgnoringCase("Current_Package_", "current_PACKAGE_"));
    EXPECT_FALSE(platform::sameNameIgnoringCase("abc", "abd"));
    EXPECT_FALSE(platform::sameNameIgnoringCase("abc", "abcd"));
}
