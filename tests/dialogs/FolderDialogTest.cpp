#include "FolderDialog.h"
#include "ScriptedScreen.h"
#include "driveinfo.h"

#include "WorkingFolder.h"
#include "platform/MessageBox.h"
#include "platform/Path.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

// The system's form of a Linux path.
std::string windowsForm(const fs::path& path)
{
    std::string text;
    EXPECT_TRUE(platform::toWindowsPath(path.string(), text)) << path;
    return text;
}

std::string upperCased(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

TEST(DriveInfo, DriveNumbersComeFromAnUpperCaseLetter)
{
    struct Case {
        const char* path;
        int number;
    };
    const Case cases[] = {
        {"", -1},        {"A:\\", 1},         {"C:\\TEMP", 3}, {"Z:", 26},
        {"c:\\temp", -1}, {"\\\\SERVER\\SHARE", -1}, {"1:\\", -1}, {"\\TEMP", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(driveinfo::GetDriveNumber(c.path), c.number);
    }
}

TEST(DriveInfo, OnlyDriveCExistsAndTheFloppyDrivesAreRemovable)
{
    EXPECT_TRUE(driveinfo::DriveExists(3));
    for (int number : {0, 4, 26, 27}) {
        SCOPED_TRACE(number);
        EXPECT_FALSE(driveinfo::DriveExists(number));
        EXPECT_EQ(driveinfo::GetDriveKind(number), DRIVE_UNKNOWN);
        EXPECT_EQ(driveinfo::GetVolumeLabel(number), "");
    }
    EXPECT_EQ(driveinfo::GetDriveKind(1), DRIVE_REMOVABLE);
    EXPECT_EQ(driveinfo::GetDriveKind(2), DRIVE_REMOVABLE);
}

TEST(DriveInfo, CapitalizeWordsStartsEachWordAfterABlankOrABackslash)
{
    struct Case {
        const char* text;
        const char* capitalized;
    };
    const Case cases[] = {
        {"DATA DISK", "Data Disk"},
        {"c:\\program files", "C:\\Program Files"},
        {"my host", "My Host"},
        {"myhost", "Myhost"},
        {"  two  blanks", "  Two  Blanks"},
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(driveinfo::CapitalizeWords(c.text), c.capitalized);
    }
}

TEST(DriveInfo, NetworkPathsAreUncPathsNetworkNeighbourhoodAndPathsWithoutADrive)
{
    testsupport::WorkingFolder folder;
    struct Case {
        std::string path;
        bool network;
    };
    const Case cases[] = {
        {"\\\\SERVER\\SHARE\\LOGS", true},
        {"C:\\USERS\\ANN\\NETHOOD\\TEAM\\", true},
        {"", true},
        {"\\TEMP", true},
        {upperCased(windowsForm(folder.path())), false},
        // A drive that does not exist is of no kind, so not remote either.
        {"D:\\DATA", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(driveinfo::IsNetworkPath(c.path), c.network);
    }
    EXPECT_FALSE(driveinfo::IsFixedDrivePath("\\\\SERVER\\SHARE"));
    EXPECT_FALSE(driveinfo::IsFixedDrivePath("D:\\DATA"));
    EXPECT_FALSE(driveinfo::IsFixedDrivePath("A:\\"));
}

TEST(DriveInfo, APathIsReadOnlyWithoutWritePermissionOrWhenItsAttributesCannotBeRead)
{
    testsupport::WorkingFolder folder;
    fs::create_directory("open");
    fs::create_directory("locked");
    fs::permissions("locked", fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_FALSE(driveinfo::IsReadOnlyPath(".\\open"));
    EXPECT_TRUE(driveinfo::IsReadOnlyPath(".\\locked"));
    EXPECT_TRUE(driveinfo::IsReadOnlyPath(".\\missing"));
    EXPECT_TRUE(driveinfo::IsReadOnlyPath("D:\\DATA"));
}

// The picker over a scripted browser, in a working folder with the folders logs, locked (no
// write permission) and back\slash (a name no Windows path can hold).
class FolderDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::create_directory("logs");
        fs::create_directory("locked");
        fs::permissions("locked", fs::perms::owner_read | fs::perms::owner_exec);
        fs::create_directory("back\\slash");
    }

    fs::path below(const char* name) const { return fs::canonical(folder.path()) / name; }

    testsupport::WorkingFolder folder;
    ScriptedScreen screen;
};

TEST_F(FolderDialogTest, EachSelectionIsCheckedAgainstTheRulesInOrder)
{
    struct Case {
        const char* name;
        unsigned int flags;
        std::string folder;
        bool okEnabled;
        const char* status;
    };
    const Case cases[] = {
        {"a root with FD_NON_ROOT", BIF_RETURNONLYFSDIRS | FD_NON_ROOT, "/", false, CFolderDialog::NonRootText},
        {"a folder below the root", BIF_RETURNONLYFSDIRS | FD_NON_ROOT, below("logs").string(), true, ""},
        {"the root without FD_NON_ROOT", BIF_RETURNONLYFSDIRS, "/", true, ""},
        {"a missing folder", 0, below("missing").string(), false, CFolderDialog::InvalidFolderText},
        {"an item that is no folder", FD_NON_ROOT, "", false, CFolderDialog::InvalidFolderText},
        {"a name no path can hold", 0, below("back\\slash").string(), false, CFolderDialog::InvalidFolderText},
        {"no write permission", FD_WRITABLE, below("locked").string(), false, CFolderDialog::WritableText},
        {"the first broken rule", FD_WRITABLE | FD_NON_ROOT, below("locked").string(), false,
         CFolderDialog::WritableText},
        {"a writable folder", FD_WRITABLE | FD_NON_ROOT, below("logs").string(), true, ""},
        {"a local folder", FD_LOCAL_DRIVE, below("logs").string(), true, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CFolderDialog picker("Pick", "", c.flags);
        picker.attach(&screen);
        screen.setControlText(CFolderDialog::StatusText, "stale");
        picker.OnSelChanged(c.folder);
        EXPECT_EQ(screen.control(CFolderDialog::OkButton).enabled, c.okEnabled);
        EXPECT_EQ(screen.control(CFolderDialog::StatusText).text, c.status);
    }
}

TEST_F(FolderDialogTest, OpensOnTheInitialFolderAndReturnsTheChosenOneInTheSystemsForm)
{
    const std::string initial = windowsForm(below("logs")) + "\\";
    CFolderDialog picker("Select Folder to Zip Files", initial, BIF_RETURNONLYFSDIRS | FD_NON_ROOT);
    picker.attach(&screen);
    picker.OnInitialized();
    EXPECT_EQ(screen.title, "Select Folder to Zip Files");
    EXPECT_EQ(fs::path(screen.control(CFolderDialog::FolderTree).text), below("logs") / "");

    EXPECT_EQ(picker.OnChosen(below("logs").string()), IDOK);
    EXPECT_EQ(picker.selectedFolder(), windowsForm(below("logs")));
    EXPECT_TRUE(picker.selectedFolder().starts_with("C:\\"));
    EXPECT_EQ(picker.selectedFolder().find('/'), std::string::npos);

    EXPECT_EQ(picker.OnChosen(below("back\\slash").string()), CFolderDialog::NoPath);
    EXPECT_EQ(picker.selectedFolder(), windowsForm(below("logs")));
}

TEST_F(FolderDialogTest, WithoutAnInitialFolderNothingIsSelectedAtStart)
{
    CFolderDialog picker("Pick", "", 0);
    picker.attach(&screen);
    screen.setControlText(CFolderDialog::FolderTree, "as it was");
    picker.OnInitialized();
    EXPECT_EQ(screen.control(CFolderDialog::FolderTree).text, "as it was");
}

} // namespace
