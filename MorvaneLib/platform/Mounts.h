// The mount table behind the drive kinds and volume labels of the folder picker.
//
// "C:" is the only drive on this platform, so a drive's kind and label are those of the mount
// that holds the path being checked: network file systems are remote, file systems on
// removable block devices are removable, and every other mount is fixed. Labels are the ones
// the system publishes for block devices (/dev/disk/by-label); a file system without one has
// an empty label. Every look-up reads the tables afresh.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Drive kinds in the platform's values.
constexpr unsigned int DRIVE_UNKNOWN = 0;
constexpr unsigned int DRIVE_NO_ROOT_DIR = 1;
constexpr unsigned int DRIVE_REMOVABLE = 2;
constexpr unsigned int DRIVE_FIXED = 3;
constexpr unsigned int DRIVE_REMOTE = 4;
constexpr unsigned int DRIVE_CDROM = 5;
constexpr unsigned int DRIVE_RAMDISK = 6;

namespace platform {

// One line of the mount table.
struct Mount {
    std::string device;
    std::string mountPoint;
    std::string fileSystem;
};

// The lines of mount-table text (/proc/self/mounts), in table order, with the table's octal
// escapes ("\040" for a blank) decoded. Lines with fewer than three fields are left out.
std::vector<Mount> parseMountTable(std::string_view text);

// The mount that holds an absolute Linux path: of the mounts whose mount point is the path or
// a folder above it, the last in table order (a later mount hides an earlier one there).
std::optional<Mount> mountHolding(const std::vector<Mount>& mounts, std::string_view linuxPath);

// NFS, SMB / CIFS, SSHFS, WebDAV and the other file systems that reach another machine.
bool isNetworkFileSystem(std::string_view fileSystem);

// DRIVE_REMOTE, DRIVE_REMOVABLE or DRIVE_FIXED for the mount that holds the Windows path
// ("C:\..."), its symbolic links resolved; DRIVE_NO_ROOT_DIR when the path names nothing on
// this platform or no mount holds it.
unsigned int driveTypeOfPath(std::string_view windowsPath);

// The label of the file system that holds the Windows path; false when it has none.
bool volumeLabelOfPath(std::string_view windowsPath, std::string& label);

} // namespace platform
