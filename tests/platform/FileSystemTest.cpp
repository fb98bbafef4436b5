#include "platform/FileSystem.h"

#include "FileSizeLimit.h"
#include "SpecialFiles.h"
#include "WorkingFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

void setModified(const fs::path& path, std::time_t when)
{
    const auto system = std::chrono::system_clock::from_time_t(when);
    fs::last_write_time(path, std::chrono::file_clock::from_sys(system));
}

std::time_t modifiedOf(const fs::path& path)
{
    return std::chrono::system_clock::to_time_t(
        std::chrono::time_point_cast<std::chrono::system_clock::duration>(
            std::chrono::file_clock::to_sys(fs::last_write_time(path))));
}

fs::perms permissionsOf(const fs::path& path)
{
    return fs::status(path).permissions() & fs::perms::mask;
}

void makeReadOnly(const fs::path& path)
{
    fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
}

// Names in the folder other than those the test made: leftovers of a rewrite.
std::vector<std::string> namesIn(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST(FileSystem, ListsEntriesInListingOrderWithTheirKinds)
{
    testsupport::WorkingFolder folder;
    folder.write("dir/b.txt", "bb");
    folder.write("dir/A.log", "a");
    folder.write("dir/a.log", "aaa");
    folder.write("dir/C/inner", "");
    folder.write("dir/back\\slash", "hidden");
    fs::create_symlink("b.txt", folder.path() / "dir/link-to-file");
    fs::create_symlink("C", folder.path() / "dir/link-to-folder");
    fs::create_symlink("missing", folder.path() / "dir/dangling");
    testsupport::makeFifo(folder.path() / "dir/pipe");
    setModified(folder.path() / "dir/b.txt", 1173103629);

    std::vector<platform::FolderEntry> entries;
    ASSERT_TRUE(platform::listFolder(".\\DIR\\", entries));

    struct Expected {
        const char* name;
        platform::EntryKind kind;
    };
    const Expected expected[] = {
        {"A.log", platform::EntryKind::RegularFile},
        {"a.log", platform::EntryKind::RegularFile},
        {"b.txt", platform::EntryKind::RegularFile},
        {"C", platform::EntryKind::Folder},
        {"dangling", platform::EntryKind::Other},
        {"link-to-file", platform::EntryKind::LinkToRegularFile},
        {"link-to-folder", platform::EntryKind::Other},
        {"pipe", platform::EntryKind::Other},
    };
    ASSERT_EQ(entries.size(), std::size(expected));
    for (size_t i = 0; i < entries.size(); ++i) {
        SCOPED_TRACE(expected[i].name);
        EXPECT_EQ(entries[i].name, expected[i].name);
        EXPECT_EQ(entries[i].info.kind, expected[i].kind);
    }
    EXPECT_EQ(entries[2].info.size, 2u);
    EXPECT_EQ(entries[2].info.modified, 1173103629);
    EXPECT_EQ(entries[5].info.size, 2u);            // the link reports its target
    EXPECT_EQ(entries[5].info.modified, 1173103629);

    std::vector<platform::FolderEntry> untouched(1);
    EXPECT_FALSE(platform::listFolder(".\\no such folder", untouched));
    EXPECT_EQ(untouched.size(), 1u);
    EXPECT_FALSE(platform::listFolder("D:\\", untouched));
}

TEST(FileSystem, ReportsFileInfoAndReadOnly)
{
    testsupport::WorkingFolder folder;
    folder.write("f.txt", "12345");
    makeReadOnly(folder.path() / "f.txt");

    platform::FileInfo info;
    ASSERT_TRUE(platform::getFileInfo(".\\F.TXT", info));
    EXPECT_EQ(info.kind, platform::EntryKind::RegularFile);
    EXPECT_EQ(info.size, 5u);
    EXPECT_TRUE(info.readOnly);
    EXPECT_TRUE(platform::pathExists(".\\f.txt"));
    EXPECT_FALSE(platform::isFolder(".\\f.txt"));
    EXPECT_TRUE(platform::isFolder(".\\"));
    EXPECT_FALSE(platform::pathExists(".\\g.txt"));
    EXPECT_FALSE(platform::getFileInfo(".\\g.txt", info));
}

TEST(FileSystem, CopyKeepsTheModificationTimeAndPermissionsAndOverwrites)
{
    testsupport::WorkingFolder folder;
    folder.write("src/log.txt", "new content");
    fs::permissions(folder.path() / "src/log.txt", fs::perms(0640));
    setModified(folder.path() / "src/log.txt", 1173103629);
    folder.write("dst/LOG.TXT", "old content that was longer");

    ASSERT_TRUE(platform::copyFile(".\\src\\log.txt", ".\\dst\\log.txt"));
    EXPECT_EQ(namesIn(folder.path() / "dst"), std::vector<std::string>{"LOG.TXT"});
    EXPECT_EQ(folder.read("dst/LOG.TXT"), "new content");
    EXPECT_EQ(modifiedOf(folder.path() / "dst/LOG.TXT"), 1173103629);
    EXPECT_EQ(permissionsOf(folder.path() / "dst/LOG.TXT"), fs::perms(0640));
}

TEST(FileSystem, CopyReadsFilesToTheirEndWhateverSizeTheyReport)
{
    testsupport::WorkingFolder folder;
    platform::FileInfo info;
    ASSERT_TRUE(platform::getFileInfo("C:\\proc\\self\\status", info));
    EXPECT_EQ(info.size, 0u);

    ASSERT_TRUE(platform::copyFile("C:\\proc\\self\\status", ".\\status"));
    EXPECT_NE(folder.read("status").find("Name:"), std::string::npos);
}

TEST(FileSystem, CopyThroughALinkCopiesItsTarget)
{
    testsupport::WorkingFolder folder;
    folder.write("target.txt", "through the link");
    fs::create_symlink("target.txt", folder.path() / "link.txt");
    ASSERT_TRUE(platform::copyFile(".\\link.txt", ".\\copy.txt"));
    EXPECT_EQ(folder.read("copy.txt"), "through the link");
    EXPECT_FALSE(fs::is_symlink(folder.path() / "copy.txt"));
}

TEST(FileSystem, CopyRefusesWhatItMustNotTouch)
{
    testsupport::WorkingFolder folder;
    folder.write("src.txt", "source");
    folder.write("readonly.txt", "keep me");
    makeReadOnly(folder.path() / "readonly.txt");
    testsupport::makeFifo(folder.path() / "pipe");
    fs::create_directory(folder.path() / "folder");

    EXPECT_FALSE(platform::copyFile(".\\pipe", ".\\from-pipe"));     // would block if opened
    EXPECT_FALSE(platform::copyFile(".\\folder", ".\\from-folder"));
    EXPECT_FALSE(platform::copyFile(".\\missing.txt", ".\\from-missing"));
    EXPECT_FALSE(platform::copyFile(".\\src.txt", ".\\readonly.txt"));
    EXPECT_FALSE(platform::copyFile(".\\src.txt", ".\\folder"));
    EXPECT_FALSE(platform::copyFile(".\\src.txt", ".\\no folder\\x.txt"));
    EXPECT_EQ(folder.read("readonly.txt"), "keep me");
    EXPECT_EQ(namesIn(folder.path()),
              (std::vector<std::string>{"folder", "pipe", "readonly.txt", "src.txt"}));
}

TEST(FileSystem, ReadsWholeRegularFilesOnly)
{
    testsupport::WorkingFolder folder;
    const std::string binary("a\0b\r\nc", 6);
    folder.write("bin.dat", binary);
    testsupport::makeFifo(folder.path() / "pipe");

    std::string bytes = "untouched";
    ASSERT_TRUE(platform::readFile(".\\BIN.DAT", bytes));
    EXPECT_EQ(bytes, binary);
    ASSERT_TRUE(platform::readFile("C:\\proc\\self\\status", bytes));
    EXPECT_NE(bytes.find("Name:"), std::string::npos);

    bytes = "untouched";
    EXPECT_FALSE(platform::readFile(".\\pipe", bytes));
    EXPECT_FALSE(platform::readFile(".\\", bytes));
    EXPECT_FALSE(platform::readFile(".\\missing", bytes));
    EXPECT_EQ(bytes, "untouched");
}

TEST(FileSystem, ReplaceKeepsTheExistingSpellingAndPermissions)
{
    testsupport::WorkingFolder folder;
    folder.write("Store/Current_Package_Lab.ini", "old");
    fs::permissions(folder.path() / "Store/Current_Package_Lab.ini", fs::perms(0604));

    ASSERT_TRUE(platform::replaceFile(".\\store\\current_package_lab.ini", "new bytes"));
    EXPECT_EQ(namesIn(folder.path() / "Store"), std::vector<std::string>{"Current_Package_Lab.ini"});
    EXPECT_EQ(folder.read("Store/Current_Package_Lab.ini"), "new bytes");
    EXPECT_EQ(permissionsOf(folder.path() / "Store/Current_Package_Lab.ini"), fs::perms(0604));

    ASSERT_TRUE(platform::replaceFile(".\\Store\\fresh.ini", ""));
    EXPECT_TRUE(folder.exists("Store/fresh.ini"));
    EXPECT_EQ(folder.read("Store/fresh.ini"), "");
}

TEST(FileSystem, ReplaceThroughALinkReplacesItsTarget)
{
    testsupport::WorkingFolder folder;
    folder.write("real.ini", "old");
    fs::create_symlink("real.ini", folder.path() / "link.ini");
    ASSERT_TRUE(platform::replaceFile(".\\link.ini", "new"));
    EXPECT_TRUE(fs::is_symlink(folder.path() / "link.ini"));
    EXPECT_EQ(folder.read("real.ini"), "new");
}

TEST(FileSystem, AFailedReplaceLeavesThePreviousFileWhole)
{
    testsupport::WorkingFolder folder;
    folder.write("settings.ini", "previous content");
    folder.write("readonly.ini", "read-only content");
    makeReadOnly(folder.path() / "readonly.ini");

    EXPECT_FALSE(platform::replaceFile(".\\readonly.ini", "lost"));
    EXPECT_EQ(folder.read("readonly.ini"), "read-only content");
    EXPECT_FALSE(platform::replaceFile(".\\", "lost"));
    EXPECT_FALSE(platform::replaceFile(".\\missing folder\\x.ini", "lost"));

    {
        testsupport::FileSizeLimit diskFull(8);
        EXPECT_FALSE(platform::replaceFile(".\\settings.ini", std::string(4096, 'x')));
        EXPECT_FALSE(platform::copyFile(".\\readonly.ini", ".\\settings.ini"));
    }
    EXPECT_EQ(folder.read("settings.ini"), "previous content");
    EXPECT_EQ(namesIn(folder.path()), (std::vector<std::string>{"readonly.ini", "settings.ini"}));
}

TEST(FileSystem, AppendsExactBytesAndRefusesReadOnlyFiles)
{
    testsupport::WorkingFolder folder;
    ASSERT_TRUE(platform::appendToFile(".\\log.txt", "one\r\n"));
    ASSERT_TRUE(platform::appendToFile(".\\LOG.txt", "two\r\n"));
    EXPECT_EQ(folder.read("log.txt"), "one\r\ntwo\r\n");

    makeReadOnly(folder.path() / "log.txt");
    EXPECT_FALSE(platform::appendToFile(".\\log.txt", "three\r\n"));
    EXPECT_EQ(folder.read("log.txt"), "one\r\ntwo\r\n");
    EXPECT_FALSE(platform::appendToFile(".\\", "x"));
}

TEST(FileSystem, CreatesRemovesAndDeletes)
{
    testsupport::WorkingFolder folder;
    EXPECT_TRUE(platform::createFolder(".\\New"));
    EXPECT_FALSE(platform::createFolder(".\\new"));
    EXPECT_FALSE(platform::createFolder(".\\a\\b"));
    folder.write("New/file.txt", "x");
    EXPECT_FALSE(platform::removeFolder(".\\New"));
    EXPECT_FALSE(platform::deleteFile(".\\New"));

    makeReadOnly(folder.path() / "New/file.txt");
    EXPECT_FALSE(platform::deleteFile(".\\new\\FILE.txt"));
    ASSERT_TRUE(platform::setFileAttributes(".\\New\\file.txt", FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_TRUE(platform::deleteFile(".\\new\\FILE.txt"));
    EXPECT_FALSE(platform::deleteFile(".\\new\\FILE.txt"));
    EXPECT_TRUE(platform::removeFolder(".\\NEW"));
    EXPECT_FALSE(folder.exists("New"));
}

TEST(FileSystem, AttributesMapToTheOwnerWriteBit)
{
    testsupport::WorkingFolder folder;
    folder.write("f.txt", "");
    fs::permissions(folder.path() / "f.txt", fs::perms(0664));
    fs::create_directory(folder.path() / "d");

    struct Step {
        std::uint32_t set;
        std::uint32_t reads;
        fs::perms mode;
    };
    const Step steps[] = {
        {FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_READONLY, fs::perms(0444)},
        {FILE_ATTRIBUTE_NORMAL, FILE_ATTRIBUTE_NORMAL, fs::perms(0644)},
        {FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE, FILE_ATTRIBUTE_READONLY, fs::perms(0444)},
        {FILE_ATTRIBUTE_ARCHIVE, FILE_ATTRIBUTE_NORMAL, fs::perms(0644)},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.set);
        ASSERT_TRUE(platform::setFileAttributes(".\\F.txt", step.set));
        std::uint32_t attributes = 0;
        ASSERT_TRUE(platform::getFileAttributes(".\\f.TXT", attributes));
        EXPECT_EQ(attributes, step.reads);
        EXPECT_EQ(permissionsOf(folder.path() / "f.txt"), step.mode);
    }

    std::uint32_t attributes = 0;
    ASSERT_TRUE(platform::getFileAttributes(".\\d", attributes));
    EXPECT_EQ(attributes, FILE_ATTRIBUTE_DIRECTORY);
    attributes = 12345;
    EXPECT_FALSE(platform::getFileAttributes(".\\missing", attributes));
    EXPECT_EQ(attributes, 12345u);
    EXPECT_FALSE(platform::setFileAttributes(".\\missing", FILE_ATTRIBUTE_NORMAL));
}
