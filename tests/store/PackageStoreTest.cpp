#include "store/PackageStore.h"

#include "platform/Profile.h"

#include "FileSizeLimit.h"
#include "WorkingFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

const std::string Store = "Morvane Package/";

class PackageStoreTest : public ::testing::Test {
protected:
    void write(const std::string& name, const std::string& bytes) { folder.write(Store + name, bytes); }
    std::string read(const std::string& name) const { return folder.read(Store + name); }
    std::string path(const std::string& name) const { return std::string(PackageStore::StoreFolder) + name; }

    std::vector<std::string> storeNames() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder.path() / Store))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    void makeReadOnly(const std::string& name)
    {
        fs::permissions(folder.path() / Store / name, fs::perms(0444));
    }

    bool writable(const std::string& name) const
    {
        return (fs::status(folder.path() / Store / name).permissions() & fs::perms::owner_write) != fs::perms::none;
    }

    testsupport::WorkingFolder folder;
    PackageStore store;
};

} // namespace

TEST_F(PackageStoreTest, FormsStorePaths)
{
    std::string settings;
    EXPECT_EQ(store.CurrentSettingsPath(settings), ".\\Morvane Package\\Current_Morvane.ini");
    EXPECT_EQ(settings, ".\\Morvane Package\\Current_Morvane.ini");
    EXPECT_EQ(store.DefaultPackagePath("Lab"), ".\\Morvane Package\\package_Lab.ini");
    EXPECT_EQ(store.CurrentPackagePath("Lab"), ".\\Morvane Package\\Current_Package_Lab.ini");
}

TEST_F(PackageStoreTest, ReadsSettingsAbsentWhenEmpty)
{
    write("Current_Morvane.ini", "[CONFIGURATION]\r\nFTP Path=\r\nFTP Server=ftp.example\r\nLong=" +
                                     std::string(5000, 'x') + "\r\n");
    const std::string file = store.CurrentSettingsPath();
    std::string value = "stale";
    EXPECT_FALSE(store.ReadSetting(file, "FTP Path", value));
    EXPECT_EQ(value, "");
    EXPECT_TRUE(store.ReadSetting(file, "ftp server", value));
    EXPECT_EQ(value, "ftp.example");
    EXPECT_TRUE(store.ReadSetting(file, "Long", value));
    EXPECT_EQ(value, std::string(3999, 'x'));
    value = "stale";
    EXPECT_FALSE(store.ReadSetting(path("missing.ini"), "FTP Server", value));
    EXPECT_EQ(value, "");
}

TEST_F(PackageStoreTest, ReadsFileRulesUpToTheFirstAbsentFilenum)
{
    write("Current_Package_Lab.ini",
          "\r\n\r\n\r\n\r\n[FILES]\r\n"
          "0)Filenum=1234\r\n0)Directory=C:\\var\\log\\\r\n0)FileFormat=*.log\r\n0)Recursive=10\r\n"
          "1)Filenum=5\r\n1)Recursive=1\r\n"
          "3)Filenum=9\r\n3)Directory=C:\\never\\\r\n3)FileFormat=x\r\n3)Recursive=0\r\n"
          "\r\n\r\n\r\n[REGISTRY]\r\n0)HKEY=HKEY_CURRENT_USER\\Software\\Morvane\r\n1)HKEY=\r\n2)HKEY=never\r\n");
    write("Current_Package_Gap.ini", "[FILES]\r\n0)Filenum=\r\n0)Directory=C:\\etc\\\r\n0)FileFormat=*.conf\r\n");
    const std::string lab = store.CurrentPackagePath("lab");

    struct Case {
        int number;
        bool found;
        const char* rule;
        const char* location;
    };
    const Case cases[] = {
        {0, true, "123,1,C:\\var\\log\\,*.log", "C:\\var\\log\\,*.log"},
        {1, true, "5,1,,", ","},
        {2, false, "untouched", "untouched"},
        {3, true, "9,0,C:\\never\\,x", "C:\\never\\,x"}, // present, but a reader stops at 2
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.number);
        std::string rule = "untouched";
        std::string location = "untouched";
        EXPECT_EQ(store.ReadFileRule(c.number, lab, rule), c.found);
        EXPECT_EQ(store.ReadFileRuleLocation(c.number, lab, location), c.found);
        EXPECT_EQ(rule, c.rule);
        EXPECT_EQ(location, c.location);
    }

    std::string rule = "untouched";
    EXPECT_FALSE(store.ReadFileRule(0, store.CurrentPackagePath("Gap"), rule));
    EXPECT_EQ(rule, "untouched");

    std::string key = "untouched";
    EXPECT_TRUE(store.ReadRegistryRule(0, lab, key));
    EXPECT_EQ(key, "HKEY_CURRENT_USER\\Software\\Morvane");
    key = "untouched";
    EXPECT_FALSE(store.ReadRegistryRule(1, lab, key));
    EXPECT_EQ(key, "untouched");
}

TEST_F(PackageStoreTest, ReadsTheSelectionAsAStarList)
{
    write("Current_Morvane.ini", "[CONFIGURATION]\r\nComputer Name=1\r\n[SELECT PACKAGE]\r\n"
                                 "0)Name=System Logs\r\n1)Name=" + std::string(200, 'n') + "\r\n3)Name=never\r\n");
    write("NoSelection.ini", "[CONFIGURATION]\r\nComputer Name=1\r\n");
    const std::string file = store.CurrentSettingsPath();

    std::string entry = "untouched";
    EXPECT_TRUE(store.ReadSelectionEntry(1, file, entry));
    EXPECT_EQ(entry, std::string(119, 'n') + "*");
    entry = "untouched";
    EXPECT_FALSE(store.ReadSelectionEntry(2, file, entry));
    EXPECT_EQ(entry, "untouched");

    std::string list;
    int count = -1;
    EXPECT_TRUE(store.ReadSelection(file, list, count));
    EXPECT_EQ(list, "System Logs*" + std::string(119, 'n') + "*");
    EXPECT_EQ(count, 2);

    list = "untouched";
    EXPECT_TRUE(store.ReadSelection(path("NoSelection.ini"), list, count));
    EXPECT_EQ(count, 0);
    EXPECT_EQ(list, "untouched");
}

TEST_F(PackageStoreTest, ListsCurrentPackagesWhateverTheLetterCaseOfTheirPrefix)
{
    write("Current_Package_Alpha.ini", "");
    write("CURRENT_PACKAGE_Beta.INI", "");
    write("current_package_gamma.ini", "");
    write("package_Delta.ini", "");
    write("Current_Morvane.ini", "");
    write("Current_Package_Notes.txt", "");
    write("Current_Package_Bad*Name.ini", "");
    write("Current_Package_.ini", "");
    fs::create_directory(folder.path() / Store / "Current_Package_Folder.ini");

    std::string stars = "untouched";
    EXPECT_EQ(store.ListCurrentPackages(stars), 3);
    EXPECT_EQ(stars, "Alpha*Beta*gamma*");
    std::string commas = "untouched";
    EXPECT_EQ(store.ListCurrentPackageNames(commas), 3);
    EXPECT_EQ(commas, "Alpha,Beta,gamma");
}

TEST_F(PackageStoreTest, ListingWithoutPackagesOrFolder)
{
    std::string stars = "untouched";
    std::string commas = "untouched";
    EXPECT_EQ(store.ListCurrentPackages(stars), 0);
    EXPECT_EQ(store.ListCurrentPackageNames(commas), 0);
    EXPECT_EQ(stars, "untouched");
    EXPECT_EQ(commas, "untouched");

    write("package_Lab.ini", "");
    EXPECT_EQ(store.ListCurrentPackages(stars), 0);
    EXPECT_EQ(store.ListCurrentPackageNames(commas), 0);
    EXPECT_EQ(stars, "untouched");
    EXPECT_EQ(commas, "");
}

TEST_F(PackageStoreTest, PrepareCurrentCopiesOnAFirstStartCopiesTheDefaultsWritable)
{
    write("Morvane.ini", "[CONFIGURATION]\r\nComputer Name=1\r\n");
    write("package_Lab.ini", "[FILES]\r\n0)Filenum=1\r\n");
    write("PACKAGE_Logs.INI", "[FILES]\r\n0)Filenum=2\r\n");
    makeReadOnly("Morvane.ini");
    makeReadOnly("package_Lab.ini");

    store.PrepareCurrentCopies();
    EXPECT_EQ(storeNames(), (std::vector<std::string>{"Current_Morvane.ini", "Current_PACKAGE_Logs.INI",
                                                      "Current_package_Lab.ini", "Morvane.ini", "PACKAGE_Logs.INI",
                                                      "package_Lab.ini"}));
    EXPECT_EQ(read("Current_Morvane.ini"), "[CONFIGURATION]\r\nComputer Name=1\r\n");
    EXPECT_EQ(read("Current_package_Lab.ini"), "[FILES]\r\n0)Filenum=1\r\n");
    EXPECT_TRUE(writable("Current_Morvane.ini"));
    EXPECT_TRUE(writable("Current_package_Lab.ini"));
}

TEST_F(PackageStoreTest, PrepareCurrentCopiesWithCurrentSettingsOnlyMakesCurrentFilesWritable)
{
    write("Morvane.ini", "[CONFIGURATION]\r\nComputer Name=1\r\n");
    write("current_morvane.ini", "edited");
    write("package_Lab.ini", "[FILES]\r\n0)Filenum=1\r\n");
    write("Current_Package_Mine.ini", "mine");
    makeReadOnly("current_morvane.ini");
    makeReadOnly("Current_Package_Mine.ini");

    store.PrepareCurrentCopies();
    EXPECT_EQ(storeNames(), (std::vector<std::string>{"Current_Package_Mine.ini", "Morvane.ini",
                                                      "current_morvane.ini", "package_Lab.ini"}));
    EXPECT_EQ(read("current_morvane.ini"), "edited");
    EXPECT_TRUE(writable("current_morvane.ini"));
    EXPECT_TRUE(writable("Current_Package_Mine.ini"));
}

TEST_F(PackageStoreTest, PrepareCurrentCopiesWithoutAStoreFolderCopiesNothing)
{
    store.PrepareCurrentCopies();
    EXPECT_FALSE(folder.exists(Store));
}

TEST_F(PackageStoreTest, RestoreAllDefaultsRemovesUserPackagesForGood)
{
    write("Morvane.ini", "default settings");
    write("Current_Morvane.ini", "edited settings");
    write("package_Lab.ini", "default lab");
    write("Current_Package_Lab.ini", "edited lab");
    write("Current_Package_Mine.ini", "user package");

    store.RestoreAllDefaults();
    EXPECT_EQ(storeNames(), (std::vector<std::string>{"Current_Morvane.ini", "Current_package_Lab.ini", "Morvane.ini",
                                                      "package_Lab.ini"}));
    EXPECT_EQ(read("Current_Morvane.ini"), "default settings");
    EXPECT_EQ(read("Current_package_Lab.ini"), "default lab");

    store.RestoreAllDefaults();
    EXPECT_FALSE(folder.exists(Store + "Current_Package_Mine.ini"));
}

TEST_F(PackageStoreTest, EachSpellingOfACurrentPackageNamesTheOneFile)
{
    write("Morvane.ini", "default settings");
    write("package_Lab.ini", "[FILES]\r\n0)Filenum=1\r\n[REGISTRY]\r\n0)HKEY=HKEY_LOCAL_MACHINE\\SOFTWARE\\Morvane");
    write("current_package_Lab.ini", "[FILES]\r\n0)Filenum=7\r\n");

    // The package writer's spelling reaches the restore mode's file.
    std::string rule;
    EXPECT_TRUE(store.ReadFileRule(0, store.CurrentPackagePath("Lab"), rule));
    EXPECT_EQ(rule, "7,,,");

    store.RestorePackageSection("Lab", 1);
    EXPECT_EQ(storeNames(), (std::vector<std::string>{"Morvane.ini", "current_package_Lab.ini", "package_Lab.ini"}));
    EXPECT_EQ(read("current_package_Lab.ini"),
              "[FILES]\r\n0)Filenum=7\n[REGISTRY]\r\n0)HKEY=HKEY_LOCAL_MACHINE\\SOFTWARE\\Morvane");

    // A first start copies "package_Lab.ini" to "Current_package_Lab.ini": the existing file.
    store.PrepareCurrentCopies();
    EXPECT_EQ(storeNames(), (std::vector<std::string>{"Current_Morvane.ini", "Morvane.ini", "current_package_Lab.ini",
                                                      "package_Lab.ini"}));
    EXPECT_EQ(read("current_package_Lab.ini"), read("package_Lab.ini"));

    store.DeleteCurrentPackage("LAB");
    EXPECT_EQ(storeNames(), (std::vector<std::string>{"Current_Morvane.ini", "Morvane.ini", "package_Lab.ini"}));
}

TEST_F(PackageStoreTest, SplitsAFileAtTheFirstMarker)
{
    write("two.ini", "files part[REGISTRY]one[REGISTRY]two");
    write("none.ini", "only files");
    write("empty.ini", "");
    struct Case {
        const char* file;
        const char* before;
        const char* after;
    };
    const Case cases[] = {
        {"two.ini", "files part", "[REGISTRY]one[REGISTRY]two"},
        {"none.ini", "only files", "untouched"},
        {"empty.ini", "untouched", "untouched"},
        {"missing.ini", "untouched", "untouched"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        std::string before = "untouched";
        std::string after = "untouched";
        store.SplitAtMarker(path(c.file), "[REGISTRY]", before, after);
        EXPECT_EQ(before, c.before);
        EXPECT_EQ(after, c.after);
    }
}

TEST_F(PackageStoreTest, RestoresOneHalfOfAPackageFromItsDefault)
{
    const std::string current = "\r\n\r\n\r\n\r\n[FILES]\r\n0)Filenum=9\r\n\r\n\r\n\r\n[REGISTRY]\r\n0)HKEY=mine\r\n";
    const std::string defaults = "[FILES]\r\n0)Filenum=1\r\n\r\n[REGISTRY]\r\n0)HKEY=shipped\r\n";
    struct Case {
        const char* name;
        bool withDefault;
        std::string defaultText;
        int which;
        std::string result;
    };
    const Case cases[] = {
        {"files from the default", true, defaults, 0, "[FILES]\r\n0)Filenum=1\n[REGISTRY]\r\n0)HKEY=mine"},
        {"registry from the default", true, defaults, 1, "[FILES]\r\n0)Filenum=9\n[REGISTRY]\r\n0)HKEY=shipped"},
        {"files without a default", false, "", 0, "\n[REGISTRY]\r\n0)HKEY=mine"},
        {"registry without a default", false, "", 1, "[FILES]\r\n0)Filenum=9\n"},
        {"default without a registry half", true, "[FILES]\r\n0)Filenum=1\r\n", 1, "[FILES]\r\n0)Filenum=9\n"},
        {"which out of range", true, defaults, 2, current},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(folder.path() / Store / "package_Lab.ini");
        if (c.withDefault)
            write("package_Lab.ini", c.defaultText);
        write("Current_Package_Lab.ini", current);
        store.RestorePackageSection("Lab", c.which);
        EXPECT_EQ(read("Current_Package_Lab.ini"), c.result);
    }

    store.RestorePackageSection("", 0);
    EXPECT_FALSE(folder.exists(Store + "Current_Package_.ini"));
}

TEST_F(PackageStoreTest, ClearSelectionCutsTheFileAtTheSelection)
{
    struct Case {
        const char* name;
        std::string before;
        std::string after;
    };
    const Case cases[] = {
        {"with a selection", "[CONFIGURATION]\r\nComputer Name=1\r\n\r\n[SELECT PACKAGE]\r\n0)Name=Lab\r\n",
         "[CONFIGURATION]\r\nComputer Name=1\r\n\r\n"},
        {"without a selection", "  \r\n[CONFIGURATION]\r\nComputer Name=1\r\n\t\r\n\r\n",
         "[CONFIGURATION]\r\nComputer Name=1\r\n\r\n"},
        {"a selection only", "[SELECT PACKAGE]\r\n0)Name=Lab\r\n", "\r\n\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        write("Current_Morvane.ini", c.before);
        store.ClearSelection();
        EXPECT_EQ(read("Current_Morvane.ini"), c.after);
    }

    fs::create_directories(folder.path() / Store);
    fs::remove(folder.path() / Store / "Current_Morvane.ini");
    store.ClearSelection();
    EXPECT_EQ(read("Current_Morvane.ini"), "\r\n\r\n");
}

TEST_F(PackageStoreTest, ANewSelectionAfterClearingLandsInAFreshSectionAtTheEnd)
{
    write("Current_Morvane.ini", "[CONFIGURATION]\r\nComputer Name=1\r\n[SELECT PACKAGE]\r\n0)Name=Old\r\n");
    store.ClearSelection();
    ASSERT_TRUE(platform::writeProfileString("SELECT PACKAGE", "0)Name", "New", store.CurrentSettingsPath()));
    ASSERT_TRUE(platform::writeProfileString("CONFIGURATION", "User Defined", "NULL", store.CurrentSettingsPath()));
    EXPECT_EQ(read("Current_Morvane.ini"),
              "[CONFIGURATION]\r\nComputer Name=1\r\nUser Defined=NULL\r\n\r\n[SELECT PACKAGE]\r\n0)Name=New\r\n");
}

TEST_F(PackageStoreTest, RemovesOneNameFromTheSelectionAndRenumbers)
{
    const std::string head = "[CONFIGURATION]\r\nComputer Name=1\r\n";
    struct Case {
        const char* name;
        std::string selection;
        const char* removed;
        std::string result;
    };
    const Case cases[] = {
        {"the middle of three", "0)Name=A\r\n1)Name=B\r\n2)Name=C\r\n", "B",
         "[SELECT PACKAGE]\r\n0)Name=A\r\n1)Name=C\r\n"},
        {"the only one", "0)Name=A\r\n", "A", ""},
        {"a suffix of another", "0)Name=XLab\r\n1)Name=Lab\r\n", "Lab", "[SELECT PACKAGE]\r\n0)Name=XLab\r\n"},
        {"a suffix of another that is not selected", "0)Name=XLab\r\n", "Lab",
         "[SELECT PACKAGE]\r\n0)Name=XLab\r\n"},
        {"a name not selected", "0)Name=A\r\n1)Name=B\r\n", "Z", "[SELECT PACKAGE]\r\n0)Name=A\r\n1)Name=B\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        write("Current_Morvane.ini", head + "[SELECT PACKAGE]\r\n" + c.selection);
        store.RemoveFromSelection(c.removed);
        EXPECT_EQ(read("Current_Morvane.ini"), head + "\r\n" + c.result);
    }
}

TEST_F(PackageStoreTest, RewritesNeverLeaveAStoreFileDamaged)
{
    const std::string settings = "[CONFIGURATION]\r\nComputer Name=1\r\n[SELECT PACKAGE]\r\n0)Name=Lab\r\n";
    const std::string package = "[FILES]\r\n0)Filenum=1\r\n[REGISTRY]\r\n0)HKEY=x\r\n";
    write("Current_Morvane.ini", settings);
    write("Current_Package_Lab.ini", package);
    write("package_Lab.ini", "[FILES]\r\n0)Filenum=2\r\n[REGISTRY]\r\n0)HKEY=y\r\n");
    makeReadOnly("Current_Morvane.ini");
    makeReadOnly("Current_Package_Lab.ini");

    store.ClearSelection();
    store.RemoveFromSelection("Lab");
    store.RestorePackageSection("Lab", 0);
    EXPECT_EQ(read("Current_Morvane.ini"), settings);
    EXPECT_EQ(read("Current_Package_Lab.ini"), package);

    fs::permissions(folder.path() / Store / "Current_Morvane.ini", fs::perms(0644));
    fs::permissions(folder.path() / Store / "Current_Package_Lab.ini", fs::perms(0644));
    {
        testsupport::FileSizeLimit diskFull(4);
        store.ClearSelection();
        store.RemoveFromSelection("Lab");
        store.RestorePackageSection("Lab", 0);
        store.RestoreAllDefaults();
    }
    EXPECT_EQ(read("Current_Morvane.ini"), settings);
    EXPECT_EQ(storeNames(), (std::vector<std::string>{"Current_Morvane.ini", "package_Lab.ini"}));
}
