#include "store/PackageStore.h"

#include "platform/FileSystem.h"

#include "WorkingFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

class DefaultStoreTest : public ::testing::Test {
protected:
    DefaultStoreTest()
    {
        fs::copy(testsupport::runtimeFolder() / "Morvane Package", folder.path() / "Morvane Package");
        store.PrepareCurrentCopies();
    }

    testsupport::WorkingFolder folder;
    PackageStore store;
};

} // namespace

TEST_F(DefaultStoreTest, ShipsSettingsThatCollectLocallyUnderTheComputerName)
{
    const std::string file = store.CurrentSettingsPath();
    struct Case {
        const char* key;
        const char* value;
    };
    const Case cases[] = {
        {"Local Directory", ".\\BugReports\\"},
        {"Perform FTP", "0"},
        {"Password Enable", "0"},
        {"Computer Name", "1"},
        {"Registry Field", "NULL"},
        {"User Defined", "NULL"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        std::string value;
        EXPECT_TRUE(store.ReadSetting(file, c.key, value));
        EXPECT_EQ(value, c.value);
    }
    // No FTP target ships: the user names one in Settings.
    std::string destination;
    EXPECT_FALSE(store.ReadSetting(file, "FTP Path", destination));
    EXPECT_FALSE(store.ReadSetting(file, "FTP Server", destination));

    std::string text;
    ASSERT_TRUE(platform::readFile(file, text));
    EXPECT_GT(text.find("[SELECT PACKAGE]"), text.find("[CONFIGURATION]"));
    EXPECT_EQ(text.find('[', text.find("[SELECT PACKAGE]") + 1), std::string::npos);
}

TEST_F(DefaultStoreTest, SelectsEveryShippedPackageAndEachGathersSomething)
{
    std::string packages;
    const int count = store.ListCurrentPackages(packages);
    EXPECT_GE(count, 3);

    std::string selection;
    int selected = 0;
    store.ReadSelection(store.CurrentSettingsPath(), selection, selected);
    EXPECT_EQ(selected, count);

    std::string name;
    for (int i = 0; i < selected; ++i) {
        store.GetField(selection, i, '*', name);
        SCOPED_TRACE(name);
        const std::string file = store.CurrentPackagePath(name);
        EXPECT_TRUE(platform::pathExists(file));
        EXPECT_NE(packages.find(name + "*"), std::string::npos);

        int rules = 0;
        int existingFolders = 0;
        std::string rule;
        for (; store.ReadFileRule(rules, file, rule); ++rules) {
            std::string folderText;
            if (platform::isFolder(store.GetField(rule, 2, ',', folderText)))
                ++existingFolders;
        }
        std::string keyPath;
        const bool registry = store.ReadRegistryRule(0, file, keyPath);
        EXPECT_TRUE(existingFolders > 0 || registry);
    }
}

TEST_F(DefaultStoreTest, NamesTheSampleRegistryKeys)
{
    const std::string file = store.CurrentPackagePath("Morvane");
    std::string keys;
    std::string keyPath;
    for (int i = 0; store.ReadRegistryRule(i, file, keyPath); ++i)
        keys += keyPath + "|";
    EXPECT_EQ(keys, "HKEY_LOCAL_MACHINE\\SOFTWARE\\Morvane|HKEY_CURRENT_USER\\Software\\Morvane|");
}
