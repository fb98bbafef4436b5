#include "platform/Mounts.h"

#include "platform/Path.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

namespace platform {

namespace {

namespace fs = std::filesystem;

constexpr char mountTableFile[] = "/proc/self/mounts";
constexpr char labelFolder[] = "/dev/disk/by-label";
constexpr char blockDeviceFolder[] = "/sys/class/block";

constexpr std::array<std::string_view, 19> networkFileSystems = {
    "nfs",       "nfs4",        "cifs",           "smb3",       "smbfs",      "ncpfs",         "afs",
    "9p",        "ceph",        "glusterfs",      "lustre",     "davfs",      "fuse.sshfs",    "fuse.davfs2",
    "fuse.ceph", "fuse.s3fs",   "fuse.glusterfs", "fuse.rclone", "fuse.smbnetfs",
};

// The mount table writes a blank, a tab, a line end and a backslash as three octal digits.
std::string decodeOctalEscapes(std::string_view field)
{
    std::string text;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            const std::string_view digits = field.substr(i + 1, 3);
            if (digits.find_first_not_of("01234567") == std::string_view::npos) {
                text += static_cast<char>((digits[0] - '0') * 64 + (digits[1] - '0') * 8 + (digits[2] - '0'));
                i += 3;
                continue;
            }
        }
        text += field[i];
    }
    return text;
}

// udev writes a label's blanks and other unsafe bytes as "\x" and two hex digits.
std::string decodeHexEscapes(std::string_view name)
{
    auto hexDigit = [](char c) -> int {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    };
    std::string text;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x') {
            const int high = hexDigit(name[i + 2]);
            const int low = hexDigit(name[i + 3]);
            if (high >= 0 && low >= 0) {
                text += static_cast<char>(high * 16 + low);
                i += 3;
                continue;
            }
        }
        text += name[i];
    }
    return text;
}

std::vector<Mount> currentMounts()
{
    std::ifstream table(mountTableFile);
    std::ostringstream text;
    text << table.rdbuf();
    return parseMountTable(text.str());
}

// The Linux path a Windows path names, its symbolic links resolved as far as it exists.
std::optional<std::string> resolvedLinuxPath(std::string_view windowsPath)
{
    std::string linuxPath;
    if (!toLinuxPath(windowsPath, linuxPath))
        return std::nullopt;
    std::error_code error;
    const fs::path resolved = fs::weakly_canonical(fs::absolute(linuxPath, error), error);
    if (error)
        return std::nullopt;
    return resolved.string();
}

std::optional<Mount> mountOfPath(std::string_view windowsPath)
{
    const std::optional<std::string> linuxPath = resolvedLinuxPath(windowsPath);
    if (!linuxPath)
        return std::nullopt;
    return mountHolding(currentMounts(), *linuxPath);
}

std::optional<fs::path> canonicalDevice(const std::string& device)
{
    if (!device.starts_with("/dev/"))
        return std::nullopt;
    std::error_code error;
    fs::path resolved = fs::canonical(device, error);
    if (error)
        return std::nullopt;
    return resolved;
}

bool readsOne(const fs::path& file)
{
    std::ifstream flag(file);
    char first = 0;
    return flag.get(first) && first == '1';
}

// A partition is removable when the disk it belongs to is.
bool isRemovableDevice(const std::string& device)
{
    const std::optional<fs::path> resolved = canonicalDevice(device);
    if (!resolved)
        return false;
    std::error_code error;
    const fs::path entry = fs::canonical(fs::path(blockDeviceFolder) / resolved->filename(), error);
    if (error)
        return false;
    if (fs::exists(entry / "removable", error))
        return readsOne(entry / "removable");
    return fs::exists(entry / "partition", error) && readsOne(entry.parent_path() / "removable");
}

} // namespace

std::vector<Mount> parseMountTable(std::string_view text)
{
    std::vector<Mount> mounts;
    std::istringstream lines{std::string(text)};
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string device;
        std::string mountPoint;
        std::string fileSystem;
        if (!(fields >> device >> mountPoint >> fileSystem))
            continue;
        mounts.push_back({decodeOctalEscapes(device), decodeOctalEscapes(mountPoint), decodeOctalEscapes(fileSystem)});
    }
    return mounts;
}

std::optional<Mount> mountHolding(const std::vector<Mount>& mounts, std::string_view linuxPath)
{
    std::optional<Mount> holder;
    std::size_t holderLength = 0;
    for (const Mount& mount : mounts) {
        std::string_view point = mount.mountPoint;
        while (point.size() > 1 && point.back() == '/')
            point.remove_suffix(1);
        const bool holds = point == "/" ? linuxPath.starts_with('/')
                                        : linuxPath.starts_with(point) &&
                                              (linuxPath.size() == point.size() || linuxPath[point.size()] == '/');
        // The deepest mount point decides; of equal ones the later mount hides the earlier.
        if (holds && (!holder || point.size() >= holderLength)) {
            holder = mount;
            holderLength = point.size();
        }
    }
    return holder;
}

bool isNetworkFileSystem(std::string_view fileSystem)
{
    for (std::string_view network : networkFileSystems) {
        if (fileSystem == network)
            return true;
    }
    return false;
}

unsigned int driveTypeOfPath(std::string_view windowsPath)
{
    const std::optional<Mount> mount = mountOfPath(windowsPath);
    if (!mount)
        return DRIVE_NO_ROOT_DIR;
    if (isNetworkFileSystem(mount->fileSystem))
        return DRIVE_REMOTE;
    if (isRemovableDevice(mount->device))
        return DRIVE_REMOVABLE;
    return DRIVE_FIXED;
}

bool volumeLabelOfPath(std::string_view windowsPath, std::string& label)
{
    const std::optional<Mount> mount = mountOfPath(windowsPath);
    if (!mount)
        return false;
    const std::optional<fs::path> device = canonicalDevice(mount->device);
    if (!device)
        return false;
    std::error_code error;
    for (fs::directory_iterator entry(labelFolder, error), end; !error && entry != end; entry.increment(error)) {
        std::error_code targetError;
        const fs::path target = fs::canonical(entry->path(), targetError);
        if (!targetError && target == *device) {
            label = decodeHexEscapes(entry->path().filename().string());
            return true;
        }
    }
    return false;
}

} // namespace platform
