#include "engine/FileSystemHelpers.h"

#include "WorkingFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

// The Windows path text of a folder below the working folder, absolute from "C:".
std::string absoluteText(const testsupport::WorkingFolder& folder, const std::string& relative)
{
    std::string text = "C:" + (folder.path() / relative).string();
    for (char& c : text) {
        if (c == '/')
            c = '\\';
    }
    return text;
}

mode_t modeOf(const fs::path& path)
{
    struct stat status {};
    ::stat(path.c_str(), &status);
    return status.st_mode & 07777;
}

TEST(MakeFolderPath, CreatesEveryMissingLevel)
{
    struct Case {
        const char* name;
        std::string path;
        bool result;
        const char* folderAfter;  // nullptr: nothing to look at
    };
    testsupport::WorkingFolder folder;
    fs::create_directory(folder.path() / "A");
    folder.write("file.txt", "x");
    const std::vector<Case> cases = {
        {"existing folder", ".\\A", true, "A"},
        {"two levels below an existing one", ".\\A\\B\\C", true, "A/B/C"},
        {"trailing backslash", ".\\T\\U\\", true, "T/U"},
        {"relative without a dot", "Plain\\Deep", true, "Plain/Deep"},
        {"absolute from the drive", absoluteText(folder, "Abs/X"), true, "Abs/X"},
        {"below a file", ".\\file.txt\\sub", false, nullptr},
        {"another drive", "D:\\Reports", false, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(makeFolderPath(c.path), c.result);
        if (c.folderAfter) {
            EXPECT_TRUE(fs::is_directory(folder.path() / c.folderAfter));
            EXPECT_EQ(modeOf(folder.path() / c.folderAfter) & 0700, 0700u);
        }
    }
    EXPECT_EQ(folder.read("file.txt"), "x");
}

class TreeFixture : public ::testing::Test {
protected:
    TreeFixture()
    {
        folder.write("Src/app.log", "app");
        folder.write("Src/.hidden", "hidden");
        folder.write("Src/Sub/trace.log", "trace");
        folder.write("Src/Sub/Deeper/core.txt", "core");
        folder.write("Src/.git/config", "git");
    }

    testsupport::WorkingFolder folder;
};

using CopyFolderTree = TreeFixture;

TEST_F(CopyFolderTree, RecursiveCopyKeepsTheStructureSkipsDotNamesAndOverwrites)
{
    folder.write("Dst/Logs/app.log", "old");

    EXPECT_TRUE(copyFolderTree(".\\Src", ".\\Dst\\Logs\\", true));

    EXPECT_EQ(folder.read("Dst/Logs/app.log"), "app");
    EXPECT_EQ(folder.read("Dst/Logs/Sub/trace.log"), "trace");
    EXPECT_EQ(folder.read("Dst/Logs/Sub/Deeper/core.txt"), "core");
    EXPECT_FALSE(folder.exists("Dst/Logs/.hidden"));
    EXPECT_FALSE(folder.exists("Dst/Logs/.git"));
}

TEST_F(CopyFolderTree, PlainCopyTakesOnlyTheFilesOfTheFolderItself)
{
    EXPECT_TRUE(copyFolderTree(".\\Src\\", ".\\Dst\\A\\B", false));

    EXPECT_EQ(folder.read("Dst/A/B/app.log"), "app");
    EXPECT_FALSE(folder.exists("Dst/A/B/Sub"));
}

TEST_F(CopyFolderTree, AMissingSourceStillLeavesTheTargetFolder)
{
    EXPECT_FALSE(copyFolderTree(".\\Nowhere", ".\\Dst\\Empty", true));
    EXPECT_TRUE(fs::is_directory(folder.path() / "Dst/Empty"));
}

TEST_F(CopyFolderTree, StopsAtTheFirstFileThatCannotBeCopied)
{
    folder.write("Flat/a.log", "a");
    folder.write("Flat/b.log", "b");
    folder.write("Dst/a.log", "locked");
    ASSERT_EQ(::chmod((folder.path() / "Dst/a.log").c_str(), 0444), 0);

    EXPECT_FALSE(copyFolderTree(".\\Flat", ".\\Dst", false));

    EXPECT_EQ(folder.read("Dst/a.log"), "locked");
    EXPECT_FALSE(folder.exists("Dst/b.log"));
}

TEST_F(CopyFolderTree, PipesAndLinksToFoldersAreNeitherOpenedNorWalked)
{
    ASSERT_EQ(::mkfifo((folder.path() / "Src/queue").c_str(), 0600), 0);
    fs::create_directory_symlink(folder.path() / "Src", folder.path() / "Src/Sub/loop");
    fs::create_symlink(folder.path() / "Src/app.log", folder.path() / "Src/current.log");

    EXPECT_TRUE(copyFolderTree(".\\Src", ".\\Dst", true));

    EXPECT_FALSE(folder.exists("Dst/queue"));
    EXPECT_FALSE(folder.exists("Dst/Sub/loop"));
    EXPECT_EQ(folder.read("Dst/current.log"), "app");
    EXPECT_FALSE(fs::is_symlink(folder.path() / "Dst/current.log"));
}

TEST(CopyFile, OverwritesAnExistingTarget)
{
    testsupport::WorkingFolder folder;
    folder.write("a.txt", "new");
    folder.write("b.txt", "old and longer");

    EXPECT_TRUE(copyFile(".\\a.txt", ".\\b.txt"));
    EXPECT_EQ(folder.read("b.txt"), "new");
    EXPECT_FALSE(copyFile(".\\missing.txt", ".\\c.txt"));
}

using DeleteFolderTree = TreeFixture;

TEST_F(DeleteFolderTree, RemovesReadOnlyFilesAndFolders)
{
    fs::remove_all(folder.path() / "Src/.git");
    fs::remove(folder.path() / "Src/.hidden");
    ASSERT_EQ(::chmod((folder.path() / "Src/app.log").c_str(), 0444), 0);
    ASSERT_EQ(::chmod((folder.path() / "Src/Sub/Deeper/core.txt").c_str(), 0400), 0);
    ASSERT_EQ(::chmod((folder.path() / "Src/Sub/Deeper").c_str(), 0555), 0);

    EXPECT_TRUE(deleteFolderTree(".\\Src"));
    EXPECT_FALSE(folder.exists("Src"));
}

TEST_F(DeleteFolderTree, APathThatDoesNotExistIsAlreadyGone)
{
    EXPECT_TRUE(deleteFolderTree(".\\Nowhere"));
    EXPECT_TRUE(deleteFolderTree(""));
}

TEST_F(DeleteFolderTree, LinksGoButWhatTheyPointAtStays)
{
    fs::remove_all(folder.path() / "Src/.git");
    fs::remove(folder.path() / "Src/.hidden");
    folder.write("Outside/precious.txt", "keep");
    ASSERT_EQ(::chmod((folder.path() / "Outside/precious.txt").c_str(), 0444), 0);
    fs::create_directory_symlink(folder.path() / "Outside", folder.path() / "Src/Sub/outside");
    fs::create_symlink(folder.path() / "Outside/precious.txt", folder.path() / "Src/precious.txt");

    EXPECT_TRUE(deleteFolderTree(".\\Src"));

    EXPECT_FALSE(folder.exists("Src"));
    EXPECT_EQ(folder.read("Outside/precious.txt"), "keep");
    EXPECT_EQ(modeOf(folder.path() / "Outside/precious.txt"), 0444u);
}

TEST_F(DeleteFolderTree, DotNamesAreNotVisitedSoTheirFolderStays)
{
    EXPECT_FALSE(deleteFolderTree(".\\Src"));
    EXPECT_EQ(folder.read("Src/.hidden"), "hidden");
    EXPECT_EQ(folder.read("Src/.git/config"), "git");
}

} // namespace
