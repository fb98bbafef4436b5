// The drive tests of the folder picker: drive numbers from path texts, the kind and label of a
// drive, and whether a path lies on the network or is read-only.
//
// Drive numbers run from 1 (A:) to 26 (Z:). "C:" is the only drive this platform has; its kind
// and label are those of the mount that holds the path being checked, so the operations that
// need them take that path (the drive's root when none is given).
#pragma once

#include "platform/Mounts.h"

#include <string>

// A drive whose volume label holds "Host".
constexpr unsigned int DRIVE_HOST = 7;

namespace driveinfo {

// -1 for an empty path or one that starts with two backslashes; 1 to 26 for a path that starts
// with an upper-case letter "A" to "Z"; -1 otherwise.
int GetDriveNumber(const std::string& path);

// Whether the drive can be made the current drive.
bool DriveExists(int number);

// DRIVE_REMOVABLE for A: and B: without touching them, DRIVE_UNKNOWN for a drive that does not
// exist, DRIVE_HOST when the label holds "Host", otherwise the platform's kind of the drive.
unsigned int GetDriveKind(int number, const std::string& path = {});

// The drive's label passed through CapitalizeWords; empty when the drive does not exist or its
// file system has no label.
std::string GetVolumeLabel(int number, const std::string& path = {});

// The text in lower case, with its first character and every character after a blank or a
// backslash in upper case.
std::string CapitalizeWords(const std::string& text);

// A path under "\NETHOOD\", a path without a drive letter (such as "\\server\share") or a path
// on a remote drive.
bool IsNetworkPath(const std::string& path);

// Whether the path's drive is a fixed drive; a path without a drive number is not.
bool IsFixedDrivePath(const std::string& path);

// True when the path's attributes cannot be read or say read-only.
bool IsReadOnlyPath(const std::string& path);

} // namespace driveinfo
