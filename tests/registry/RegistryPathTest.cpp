#include "WorkingFolder.h"

#include "store/PackageStore.h"

#include <gtest/gtest.h>

namespace {

const char* const sampleHive =
    "Windows Registry Editor Version 5.00\r\n"
    "\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\App]\r\n"
    "@=\"default\"\r\n"
    "\"Name\"=\"App name\"\r\n"
    "\"Max\"=dword:ffffffff\r\n"
    "\"Count\"=dword:0000002a\r\n"
    "\"Cut\"=hex(1):61,00,00,00,62,00,00,00\r\n"
    "\"Expand\"=hex(2):25,00,54,00,25,00,00,00\r\n"
    "\"Blob\"=hex:01\r\n"
    "\r\n"
    "[HKEY_CURRENT_USER]\r\n"
    "\"Id\"=\"at the root\"\r\n"
    "\r\n"
    "[HKEY_CURRENT_USER\\Id]\r\n"
    "\"Id\"=\"in a key of its name\"\r\n";

constexpr unsigned int untouchedHandle = 7;

} // namespace

TEST(RegistryPath, ParsesOnlyLongRootNamesInAnyCase)
{
    struct Case {
        const char* path;
        bool result;
        const char* pathAfter;
        const char* root;
        unsigned int handle;
    };
    const Case cases[] = {
        {"hkey_users\\S-1-5\\Software", true, "HKEY_USERS\\S-1-5\\Software", "HKEY_USERS", 0x80000003},
        {"HKEY_CLASSES_ROOT\\.txt", true, "HKEY_CLASSES_ROOT\\.txt", "HKEY_CLASSES_ROOT", 0x80000000},
        {"Hkey_Current_User\\Software", true, "HKEY_CURRENT_USER\\Software", "HKEY_CURRENT_USER", 0x80000001},
        {"HKEY_LOCAL_MACHINE\\SOFTWARE\\", true, "HKEY_LOCAL_MACHINE\\SOFTWARE\\", "HKEY_LOCAL_MACHINE", 0x80000002},
        {"HKEY_CURRENT_CONFIG", true, "HKEY_CURRENT_CONFIG", "HKEY_CURRENT_CONFIG", 0x80000005},
        {"HKEY_LOCAL_MACHINE-junk\\SOFTWARE", true, "HKEY_LOCAL_MACHINE\\SOFTWARE", "HKEY_LOCAL_MACHINE", 0x80000002},
        {"", true, "", "", untouchedHandle},
        {"HKLM\\SOFTWARE", false, "HKLM\\SOFTWARE", nullptr, untouchedHandle},
        {"HKCU\\Software", false, "HKCU\\Software", nullptr, untouchedHandle},
        {"HKU\\S-1-5", false, "HKU\\S-1-5", nullptr, untouchedHandle},
        {"My Computer\\HKEY_LOCAL_MACHINE\\SOFTWARE", false, "My Computer\\HKEY_LOCAL_MACHINE\\SOFTWARE", nullptr, untouchedHandle},
        {"HKEY_DYN_DATA\\x", false, "HKEY_DYN_DATA\\x", nullptr, untouchedHandle},
    };
    PackageStore store;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        std::string path = c.path;
        std::string root = "stale";
        unsigned int handle = untouchedHandle;
        EXPECT_EQ(store.ParseRegistryRoot(path, root, handle), c.result);
        EXPECT_EQ(path, c.pathAfter);
        EXPECT_EQ(handle, c.handle);
        if (c.root) {
            EXPECT_EQ(root, c.root);
        }
    }
}

TEST(RegistryPath, AbbreviatesTheRootSpeltExactlyAndCutsTo245Bytes)
{
    const std::string a240(240, 'a');
    struct Case {
        const char* name;
        std::string path;
        bool result;
        std::string output;
    };
    const Case cases[] = {
        {"trailing backslash", "HKEY_LOCAL_MACHINE\\SOFTWARE\\", true, "HKLM\\SOFTWARE"},
        {"each root", "HKEY_CLASSES_ROOT\\.txt", true, "HKCR\\.txt"},
        {"current user", "HKEY_CURRENT_USER\\Software\\Vendor", true, "HKCU\\Software\\Vendor"},
        {"users", "HKEY_USERS\\.DEFAULT", true, "HKU\\.DEFAULT"},
        {"current config", "HKEY_CURRENT_CONFIG\\System", true, "HKCC\\System"},
        {"every occurrence", "HKEY_LOCAL_MACHINE\\SOFTWARE\\HKEY_LOCAL_MACHINE", true, "HKLM\\SOFTWARE\\HKLM"},
        {"only one trailing backslash", "HKEY_LOCAL_MACHINE\\SOFTWARE\\\\", true, "HKLM\\SOFTWARE\\"},
        {"root in other case stays long", "hkey_local_machine\\SOFTWARE", true, "hkey_local_machine\\SOFTWARE"},
        {"empty", "", true, ""},
        {"short root", "HKLM\\SOFTWARE", false, "HKLM\\SOFTWARE"},
        {"browser label", "My Computer\\HKEY_LOCAL_MACHINE", false, "My Computer\\HKEY_LOCAL_MACHINE"},
        {"over-long", "HKEY_LOCAL_MACHINE\\" + a240 + "bcdefgh", true, "HKLM\\" + a240},
        {"cut before the trailing backslash goes",
         "HKEY_LOCAL_MACHINE\\" + a240.substr(1) + "\\xyz", true, "HKLM\\" + a240.substr(1)},
        {"cut never splits a character", "HKEY_LOCAL_MACHINE\\" + a240.substr(1) + "\xC3\xA9" "x", true,
         "HKLM\\" + a240.substr(1)},
    };
    PackageStore store;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string output = "stale";
        EXPECT_EQ(store.AbbreviateRegistryPath(c.path, output), c.result);
        EXPECT_EQ(output, c.output);
    }
}

TEST(RegistryPath, CheckAcceptsKeysThatOpenUnlessTheyHoldADoubledBackslash)
{
    testsupport::WorkingFolder folder;
    folder.write("MorvaneRegistry.reg", sampleHive);
    struct Case {
        const char* path;
        bool result;
        const char* pathAfter;
    };
    const Case cases[] = {
        {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\App", true, "HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\App"},
        {"hkey_local_machine\\software\\vendor\\app\\", true, "HKEY_LOCAL_MACHINE\\software\\vendor\\app\\"},
        {"HKEY_LOCAL_MACHINE\\", true, "HKEY_LOCAL_MACHINE\\"},
        {"HKEY_LOCAL_MACHINE\\SOFTWARE\\\\Vendor\\App", false, "HKEY_LOCAL_MACHINE\\SOFTWARE\\\\Vendor\\App"},
        // A key that does not open passes, but loses its root.
        {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\App\\Name", true, "SOFTWARE\\Vendor\\App\\Name"},
        {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Missing", true, "SOFTWARE\\Missing"},
        {"HKLM\\SOFTWARE\\Vendor", true, "HKLM\\SOFTWARE\\Vendor"},
    };
    PackageStore store;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        std::string path = c.path;
        EXPECT_EQ(store.CheckRegistryPath(path), c.result);
        EXPECT_EQ(path, c.pathAfter);
    }
}

TEST(RegistryPath, ReadsValuesAsTextOrSignedNumbers)
{
    testsupport::WorkingFolder folder;
    folder.write("MorvaneRegistry.reg", sampleHive);
    struct Case {
        std::string path;
        bool valueOnly;
        bool result;
        std::string output;
        std::string pathAfter;
    };
    const std::string app = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\App";
    const std::string doubled = "HKEY_LOCAL_MACHINE\\SOFTWARE\\\\Vendor\\App";
    const Case cases[] = {
        {app + "\\Name", true, true, "App name", app + "\\Name"},
        {"hkey_local_machine\\software\\vendor\\app\\NAME", true, true, "App name", "HKEY_LOCAL_MACHINE\\software\\vendor\\app\\NAME"},
        {app + "\\Max", true, true, "-1", app + "\\Max"},
        {app + "\\Count", true, true, "42", app + "\\Count"},
        {app + "\\Cut", true, true, "a", app + "\\Cut"},
        // The key opens but the value cannot be read: the output is emptied.
        {app + "\\Expand", true, false, "", app + "\\Expand"},
        {app + "\\Blob", true, false, "", app + "\\Blob"},
        {app + "\\Missing", true, false, "", app + "\\Missing"},
        {app + "\\", true, false, "", app + "\\"},
        // The key does not open: the output stays.
        {"hkey_local_machine\\SOFTWARE\\NoKey\\Name", true, false, "stale", "HKEY_LOCAL_MACHINE\\SOFTWARE\\NoKey\\Name"},
        {"HKEY_CURRENT_USER\\Id", true, true, "in a key of its name", "HKEY_CURRENT_USER\\Id"},
        // No known root: nothing changes.
        {"HKLM\\SOFTWARE\\Vendor\\App\\Name", true, false, "stale", "HKLM\\SOFTWARE\\Vendor\\App\\Name"},
        {"", true, false, "stale", ""},
        {"", false, false, "stale", ""},
        // Key mode: a key that opens is accepted without reading a value.
        {app, false, true, "stale", app},
        {"hkey_local_machine\\SOFTWARE\\Vendor\\App\\", false, true, "stale", "HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\App\\"},
        {doubled, false, false, "stale", doubled},
        {app + "\\Name", false, true, "App name", app + "\\Name"},
    };
    PackageStore store;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path + (c.valueOnly ? " (value)" : " (key or value)"));
        std::string path = c.path;
        std::string output = "stale";
        EXPECT_EQ(store.ReadRegistryValue(path, output, c.valueOnly), c.result);
        EXPECT_EQ(output, c.output);
        EXPECT_EQ(path, c.pathAfter);
    }
}

TEST(RegistryPath, RuleDialogSequenceAcceptsExistingKeysOnly)
{
    testsupport::WorkingFolder folder;
    folder.write("MorvaneRegistry.reg", sampleHive);
    PackageStore store;
    const std::pair<const char*, bool> cases[] = {
        {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\App", true},
        {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\App\\Name", false},
        {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Missing", false},
    };
    for (const auto& [text, accepted] : cases) {
        SCOPED_TRACE(text);
        std::string path = text;
        std::string output;
        const bool checked = store.CheckRegistryPath(path);
        EXPECT_EQ(checked && store.ReadRegistryValue(path, output, false), accepted);
    }
}
