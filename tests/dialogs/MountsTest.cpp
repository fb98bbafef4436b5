#include "platform/Mounts.h"

#include "WorkingFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

TEST(Mounts, ParsesTheMountTableWithItsEscapes)
{
    const std::vector<platform::Mount> mounts = platform::parseMountTable(
        "/dev/sda1 / ext4 rw,relatime 0 0\n"
        "server:/export /mnt/team\\040share nfs4 rw 0 0\n"
        "short line\n"
        "\n"
        "//nas/public /mnt/back\\134slash cifs rw 0 0\n");
    ASSERT_EQ(mounts.size(), 3u);
    EXPECT_EQ(mounts[0].device, "/dev/sda1");
    EXPECT_EQ(mounts[0].mountPoint, "/");
    EXPECT_EQ(mounts[0].fileSystem, "ext4");
    EXPECT_EQ(mounts[1].mountPoint, "/mnt/team share");
    EXPECT_EQ(mounts[1].fileSystem, "nfs4");
    EXPECT_EQ(mounts[2].mountPoint, "/mnt/back\\slash");
}

TEST(Mounts, TheDeepestMountPointHoldsAPathAndALaterMountHidesAnEarlierOne)
{
    const std::vector<platform::Mount> mounts = platform::parseMountTable(
        "/dev/sda1 / ext4 rw 0 0\n"
        "/dev/sdb1 /mnt/data ext4 rw 0 0\n"
        "server:/x /mnt/data/remote nfs rw 0 0\n"
        "/dev/sdc1 /media/stick vfat rw 0 0\n"
        "/dev/sdd1 /media/stick exfat rw 0 0\n");
    struct Case {
        const char* path;
        const char* device;
    };
    const Case cases[] = {
        {"/", "/dev/sda1"},
        {"/home/ann", "/dev/sda1"},
        {"/mnt/data", "/dev/sdb1"},
        {"/mnt/data/logs", "/dev/sdb1"},
        {"/mnt/data2/logs", "/dev/sda1"},
        {"/mnt/data/remote/a", "server:/x"},
        {"/media/stick/photos", "/dev/sdd1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const auto mount = platform::mountHolding(mounts, c.path);
        ASSERT_TRUE(mount.has_value());
        EXPECT_EQ(mount->device, c.device);
    }
    EXPECT_FALSE(platform::mountHolding({}, "/home").has_value());
}

TEST(Mounts, NetworkFileSystemsAreTold)
{
    for (const char* type : {"nfs", "nfs4", "cifs", "smb3", "fuse.sshfs", "9p"}) {
        SCOPED_TRACE(type);
        EXPECT_TRUE(platform::isNetworkFileSystem(type));
    }
    for (const char* type : {"ext4", "xfs", "btrfs", "vfat", "tmpfs", "overlay", "fuse", "nfsd"}) {
        SCOPED_TRACE(type);
        EXPECT_FALSE(platform::isNetworkFileSystem(type));
    }
}

TEST(Mounts, AFolderOfThisMachineHasTheKindOfTheMountThatHoldsIt)
{
    testsupport::WorkingFolder folder;
    std::ifstream table("/proc/self/mounts");
    std::ostringstream text;
    text << table.rdbuf();
    const auto mount = platform::mountHolding(platform::parseMountTable(text.str()),
                                              std::filesystem::canonical(folder.path()).string());
    ASSERT_TRUE(mount.has_value());

    const unsigned int kind = platform::driveTypeOfPath(".\\");
    if (platform::isNetworkFileSystem(mount->fileSystem))
        EXPECT_EQ(kind, DRIVE_REMOTE);
    else
        EXPECT_TRUE(kind == DRIVE_FIXED || kind == DRIVE_REMOVABLE) << kind;
}

TEST(Mounts, APathThatNamesNothingHereHasNoDrive)
{
    EXPECT_EQ(platform::driveTypeOfPath("D:\\data"), DRIVE_NO_ROOT_DIR);
    EXPECT_EQ(platform::driveTypeOfPath("\\\\server\\share"), DRIVE_NO_ROOT_DIR);
    std::string label = "untouched";
    EXPECT_FALSE(platform::volumeLabelOfPath("D:\\data", label));
    EXPECT_EQ(label, "untouched");
}

} // namespace
