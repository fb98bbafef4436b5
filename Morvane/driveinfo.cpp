#include "driveinfo.h"

#include "platform/FileSystem.h"

#include <cstdint>

namespace driveinfo {

namespace {

constexpr int DriveA = 1;
constexpr int DriveB = 2;
constexpr int DriveZ = 26;

// The root path of a drive number: "C:\" for 3.
std::string rootPath(int number)
{
    return std::string(1, static_cast<char>(64 + number)) + ":\\";
}

// The path whose mount stands for the drive: the one being checked, else the drive's root.
std::string probePath(int number, const std::string& path)
{
    return path.empty() ? rootPath(number) : path;
}

char lowerCase(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

char upperCase(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

} // namespace

int GetDriveNumber(const std::string& path)
{
    if (path.empty() || path.starts_with("\\\\"))
        return -1;
    if (path[0] >= 'A' && path[0] <= 'Z')
        return path[0] - 'A' + 1;
    return -1;
}

bool DriveExists(int number)
{
    if (number < DriveA || number > DriveZ)
        return false;
    return platform::isFolder(rootPath(number));
}

unsigned int GetDriveKind(int number, const std::string& path)
{
    if (number == DriveA || number == DriveB)
        return DRIVE_REMOVABLE;
    if (!DriveExists(number))
        return DRIVE_UNKNOWN;
    if (GetVolumeLabel(number, path).find("Host") != std::string::npos)
        return DRIVE_HOST;
    return platform::driveTypeOfPath(probePath(number, path));
}

std::string GetVolumeLabel(int number, const std::string& path)
{
    if (!DriveExists(number))
        return {};
    std::string label;
    if (!platform::volumeLabelOfPath(probePath(number, path), label))
        return {};
    return CapitalizeWords(label);
}

std::string CapitalizeWords(const std::string& text)
{
    std::string words;
    words.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool startsWord = i == 0 || text[i - 1] == ' ' || text[i - 1] == '\\';
        words += startsWord ? upperCase(text[i]) : lowerCase(text[i]);
    }
    return words;
}

bool IsNetworkPath(const std::string& path)
{
    if (path.find("\\NETHOOD\\") != std::string::npos)
        return true;
    const int number = GetDriveNumber(path);
    if (number == -1)
        return true;
    return GetDriveKind(number, path) == DRIVE_REMOTE;
}

bool IsFixedDrivePath(const std::string& path)
{
    const int number = GetDriveNumber(path);
    if (number == -1)
        return false;
    return GetDriveKind(number, path) == DRIVE_FIXED;
}

bool IsReadOnlyPath(const std::string& path)
{
    std::uint32_t attributes = 0;
    if (!platform::getFileAttributes(path, attributes))
        return true;
    return (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

} // namespace driveinfo
