#include "HiveTestSupport.h"
#include "WorkingFolder.h"

#include "registry/RegistryKey.h"

#include <gtest/gtest.h>

namespace {

const char* const sampleHive =
    "REGEDIT4\r\n"
    "\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor]\r\n"
    "@=\"default\"\r\n"
    "\"Name\"=\"Vendor name\"\r\n"
    "\"Cut\"=hex(1):61,00,00,00,62,00,00,00\r\n"
    "\"Max\"=dword:ffffffff\r\n"
    "\"Short\"=hex(4):01,02\r\n"
    "\"Expand\"=hex(2):25,54,25,00\r\n"
    "\"Blob\"=hex:01,02\r\n"
    "\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\Second]\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\First]\r\n"
    "[HKEY_CURRENT_CONFIG\\System]\r\n";

} // namespace

TEST(RegistryKey, OpensKeysBelowEachRootWithoutRegardToCase)
{
    testsupport::WorkingFolder folder;
    folder.write("MorvaneRegistry.reg", sampleHive);
    struct Case {
        HKEY root;
        const char* path;
        bool opens;
    };
    const Case cases[] = {
        {HKEY_LOCAL_MACHINE, "SOFTWARE\\Vendor", true},
        {HKEY_LOCAL_MACHINE, "software\\VENDOR\\first", true},
        {HKEY_LOCAL_MACHINE, "SOFTWARE\\Vendor\\", true},
        {HKEY_LOCAL_MACHINE, "SOFTWARE\\\\Vendor", true},
        {HKEY_LOCAL_MACHINE, "", true},
        {HKEY_USERS, "", true},
        {HKEY_CURRENT_CONFIG, "System", true},
        {HKEY_LOCAL_MACHINE, "SOFTWARE\\Missing", false},
        {HKEY_CURRENT_USER, "SOFTWARE\\Vendor", false},
        {HKEY_LOCAL_MACHINE, "SOFTWARE\\Vendor\\Name", false},
        {0, "SOFTWARE\\Vendor", false},
        {0x80000004, "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.root) + " " + c.path);
        RegistryKey key;
        EXPECT_EQ(key.open(c.root, c.path), c.opens);
        EXPECT_EQ(key.isOpen(), c.opens);
        EXPECT_EQ(key.close(), c.opens) << "close succeeds only when a key is held";
        EXPECT_FALSE(key.isOpen());
    }
}

TEST(RegistryKey, ReadsTextAndNumbersOfTheirOwnKindOnly)
{
    testsupport::WorkingFolder folder;
    folder.write("MorvaneRegistry.reg", sampleHive);
    RegistryKey key;
    ASSERT_TRUE(key.open(HKEY_LOCAL_MACHINE, "SOFTWARE\\Vendor"));

    struct Case {
        const char* name;
        bool text;
        const char* textRead;
        bool number;
        std::int32_t numberRead;
    };
    const Case cases[] = {
        {"Name", true, "Vendor name", false, 7},
        {"NAME", true, "Vendor name", false, 7},
        {"Cut", true, "a", false, 7},
        {"Max", false, "", true, -1},
        {"Short", false, "", false, 7},
        {"Expand", false, "", false, 7},
        {"Blob", false, "", false, 7},
        {"Missing", false, "", false, 7},
        {"", false, "", false, 7},  // the default value has no name to be read by
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string text = "before";
        EXPECT_EQ(key.readText(c.name, text), c.text);
        EXPECT_EQ(text, c.textRead) << "the text is emptied before it is read";
        std::int32_t number = 7;
        EXPECT_EQ(key.readNumber(c.name, number), c.number);
        EXPECT_EQ(number, c.numberRead);
    }

    RegistryKey closed;
    std::string text = "before";
    std::int32_t number = 7;
    EXPECT_FALSE(closed.readText("Name", text));
    EXPECT_FALSE(closed.readNumber("Max", number));
    EXPECT_EQ(text, "before");
    EXPECT_EQ(number, 7);
}

TEST(RegistryKey, EnumeratesSubkeysAndValuesInFileOrder)
{
    testsupport::WorkingFolder folder;
    folder.write("MorvaneRegistry.reg", sampleHive);
    RegistryKey key;
    ASSERT_TRUE(key.open(HKEY_LOCAL_MACHINE, "SOFTWARE\\Vendor"));

    std::vector<std::string> subkeys;
    std::string name;
    for (std::size_t i = 0; key.enumKey(i, name); ++i)
        subkeys.push_back(name);
    EXPECT_EQ(subkeys, (std::vector<std::string>{"Second", "First"}));

    std::vector<std::pair<std::string, std::uint32_t>> values;
    RegistryValueInfo value;
    for (std::size_t i = 0; key.enumValue(i, value); ++i)
        values.emplace_back(value.name, value.type);
    EXPECT_EQ(values, (std::vector<std::pair<std::string, std::uint32_t>>{
                          {"", REG_SZ}, {"Name", REG_SZ}, {"Cut", REG_SZ}, {"Max", REG_DWORD},
                          {"Short", REG_DWORD}, {"Expand", REG_EXPAND_SZ}, {"Blob", REG_BINARY}}));
    ASSERT_TRUE(key.enumValue(6, value));
    EXPECT_EQ(value.data, "\x01\x02");

    RegistryKey closed;
    EXPECT_FALSE(closed.enumKey(0, name));
    EXPECT_FALSE(closed.enumValue(0, value));
}

TEST(RegistryKey, ReadsTheHiveAfreshAtEachOpen)
{
    testsupport::WorkingFolder folder;
    RegistryKey key;
    EXPECT_TRUE(key.open(HKEY_LOCAL_MACHINE, "")) << "the roots exist without a hive file";
    EXPECT_FALSE(key.open(HKEY_LOCAL_MACHINE, "SOFTWARE\\Vendor"));

    folder.write("MorvaneRegistry.reg", sampleHive);
    ASSERT_TRUE(key.open(HKEY_LOCAL_MACHINE, "SOFTWARE\\Vendor"));
    folder.write("MorvaneRegistry.reg", "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor]\r\n\"Name\"=\"changed\"\r\n");
    std::string text;
    ASSERT_TRUE(key.readText("Name", text));
    EXPECT_EQ(text, "Vendor name") << "an open key holds what it found when it was opened";

    ASSERT_TRUE(key.open(HKEY_LOCAL_MACHINE, "SOFTWARE\\Vendor"));
    ASSERT_TRUE(key.readText("Name", text));
    EXPECT_EQ(text, "changed");

    folder.write("morvaneregistry.REG", sampleHive);
    std::filesystem::remove(folder.path() / "MorvaneRegistry.reg");
    ASSERT_TRUE(key.open(HKEY_LOCAL_MACHINE, "SOFTWARE\\Vendor")) << "the hive file is found without regard to case";
    ASSERT_TRUE(key.readText("Name", text));
    EXPECT_EQ(text, "Vendor name");
}
