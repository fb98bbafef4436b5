#include "store/PackageStore.h"

#include "platform/ComputerName.h"

#include "WorkingFolder.h"

#include <gtest/gtest.h>

namespace {

const char* const settingsFile = ".\\Morvane Package\\Current_Morvane.ini";

const char* const sampleHive =
    "Windows Registry Editor Version 5.00\r\n"
    "\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Morvane\\Machine]\r\n"
    "\"Id\"=\"WS-0042\"\r\n"
    "\"Max\"=dword:ffffffff\r\n"
    "\"Half\"=dword:80000000\r\n"
    "\"Small\"=dword:0000002a\r\n"
    "\"Slashed\"=\"a/b\"\r\n"
    "\"Expand\"=hex(2):25,00,54,00,25,00,00,00\r\n"
    "\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Brenok800\\Machine]\r\n"
    "\"Other\"=\"not the id\"\r\n";

const char* const fallbackKey =
    "\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zarvot\\Projects\\Tarvil800Q\\MACHINE]\r\n\"Id\"=\"TQ-800-17\"\r\n";

// A CONFIGURATION section with the given "key=value" lines.
std::string settings(std::initializer_list<const char*> lines)
{
    std::string text = "[CONFIGURATION]\r\nLocal Directory=C:\\Reports\\\r\n";
    for (const char* line : lines)
        text += std::string(line) + "\r\n";
    return text;
}

} // namespace

TEST(MachineIdentity, ComputerNameIsTheHostNameUpToItsFirstDot)
{
    const std::string name = platform::computerName();
    EXPECT_FALSE(name.empty());
    EXPECT_EQ(name.find('.'), std::string::npos);
    EXPECT_LE(name.size(), 255u);
    std::string offending;
    EXPECT_TRUE(PackageStore().CheckNameCharacters(name, true, offending)) << name;
}

TEST(MachineIdentity, ResolvesTheIdFromTheEnabledSources)
{
    const std::string computer = platform::computerName();
    struct Case {
        const char* name;
        std::string settings;
        bool withFallback;
        bool result;
        std::string id;
    };
    const Case cases[] = {
        {"no Computer Name key fails at once", settings({"Registry Field=NULL", "User Defined=GOOD-ID"}), false, false, "before"},
        {"computer name only", settings({"Computer Name=1", "Registry Field=NULL", "User Defined=NULL"}), false, true, computer},
        {"every source disabled", settings({"Computer Name=NULL", "Registry Field=NULL", "User Defined=NULL"}), false, false, "before"},
        {"User Defined missing", settings({"Computer Name=NULL", "Registry Field=NULL"}), false, false, computer},
        {"user text", settings({"Computer Name=NULL", "Registry Field=NULL", "User Defined=PC-17"}), false, true, "PC-17"},
        {"user text with a slash", settings({"Computer Name=NULL", "Registry Field=NULL", "User Defined=PC/17"}), false, false, computer},
        {"user text with a star", settings({"Computer Name=NULL", "Registry Field=NULL", "User Defined=PC*"}), false, false, computer},
        {"a later source wins", settings({"Computer Name=1", "Registry Field=NULL", "User Defined=PC-17"}), false, true, "PC-17"},
        {"NULL is compared exactly", settings({"Computer Name=NULL", "Registry Field=NULL", "User Defined=null"}), false, true, "null"},
        {"registry text", settings({"Computer Name=NULL", "Registry Field=HKEY_LOCAL_MACHINE\\SOFTWARE\\Morvane\\Machine\\Id", "User Defined=NULL"}),
         false, true, "WS-0042"},
        {"registry root in any case", settings({"Computer Name=NULL", "Registry Field=hkey_local_machine\\software\\morvane\\machine\\id", "User Defined=NULL"}),
         false, true, "WS-0042"},
        {"registry number 4294967295", settings({"Computer Name=NULL", "Registry Field=HKEY_LOCAL_MACHINE\\SOFTWARE\\Morvane\\Machine\\Max", "User Defined=NULL"}),
         false, true, "-1"},
        {"registry number 2147483648", settings({"Computer Name=NULL", "Registry Field=HKEY_LOCAL_MACHINE\\SOFTWARE\\Morvane\\Machine\\Half", "User Defined=NULL"}),
         false, true, "-2147483648"},
        {"registry number 42", settings({"Computer Name=NULL", "Registry Field=HKEY_LOCAL_MACHINE\\SOFTWARE\\Morvane\\Machine\\Small", "User Defined=NULL"}),
         false, true, "42"},
        {"registry value of another kind", settings({"Computer Name=NULL", "Registry Field=HKEY_LOCAL_MACHINE\\SOFTWARE\\Morvane\\Machine\\Expand", "User Defined=NULL"}),
         false, true, computer},
        {"registry value with a slash", settings({"Computer Name=NULL", "Registry Field=HKEY_LOCAL_MACHINE\\SOFTWARE\\Morvane\\Machine\\Slashed", "User Defined=NULL"}),
         false, false, computer},
        {"pattern path lacking its value reads the fallback",
         settings({"Computer Name=NULL", "Registry Field=HKEY_LOCAL_MACHINE\\SOFTWARE\\BRENOK800\\Machine\\ID", "User Defined=NULL"}), true, true,
         "TQ-800-17"},
        {"pattern path and fallback both missing",
         settings({"Computer Name=NULL", "Registry Field=HKEY_LOCAL_MACHINE\\SOFTWARE\\Brenok800\\machine\\id", "User Defined=NULL"}), false, true,
         computer},
        {"other path lacking its value",
         settings({"Computer Name=NULL", "Registry Field=HKEY_LOCAL_MACHINE\\SOFTWARE\\Morvane\\Machine\\Missing", "User Defined=NULL"}), true, true,
         computer},
        {"Registry Field missing", settings({"Computer Name=NULL", "User Defined=NULL"}), false, true, "before"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::WorkingFolder folder;
        folder.write("Morvane Package/Current_Morvane.ini", c.settings);
        folder.write("MorvaneRegistry.reg", std::string(sampleHive) + (c.withFallback ? fallbackKey : ""));
        std::string id = "before";
        EXPECT_EQ(PackageStore().ResolveMachineId(settingsFile, id), c.result);
        EXPECT_EQ(id, c.id);
    }
}

TEST(MachineIdentity, OutputFolderIsTheLocalDirectoryFollowedByTheId)
{
    testsupport::WorkingFolder folder;
    PackageStore store;
    folder.write("Morvane Package/Current_Morvane.ini", settings({"Computer Name=NULL", "Registry Field=NULL", "User Defined=PC-17"}));
    EXPECT_EQ(store.MachineOutputFolder(), "C:\\Reports\\PC-17");

    folder.write("Morvane Package/Current_Morvane.ini", settings({"Computer Name=NULL", "Registry Field=NULL", "User Defined=PC/17"}));
    EXPECT_EQ(store.MachineOutputFolder(), "C:\\Reports\\" + platform::computerName())
        << "a rejected ID still names the folder after the computer";

    folder.write("Morvane Package/Current_Morvane.ini", "[CONFIGURATION]\r\nUser Defined=PC-17\r\n");
    EXPECT_EQ(store.MachineOutputFolder(), "");
}
