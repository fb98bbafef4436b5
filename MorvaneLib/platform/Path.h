// Windows path texts and the Linux paths they name.
//
// The system's own code speaks in Windows path texts ("C:\var\log\", ".\Morvane Package\x.ini");
// they are translated only when the file system is touched. "C:" is the root of the Linux file
// system, ".\" and any relative text are relative to the working directory, and "\" (as well as
// "/") separates components. Other drive letters and network names ("D:\...", "\\host\share")
// name nothing on this platform. Each component is resolved against its folder without regard
// to letter case: the exact spelling when it exists, otherwise the first entry of that folder in
// listing order whose name matches case-blind; a component that matches nothing is kept as
// written (so a new file gets the spelling the caller gave) and so are all after it. Outputs are
// defined only when an operation returns true.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// Translates a Windows path text into the Linux path it names, resolving each component
// case-blind against what exists now. A text that ends in a separator keeps a trailing "/".
// False for an empty text, another drive or a network name.
bool toLinuxPath(std::string_view windowsPath, std::string& linuxPath);

// The reverse mapping, for a folder picked on the Linux side: "C:\" followed by the absolute
// path with backslashes ("/home/ann/logs" -> "C:\home\ann\logs"). A relative path is taken
// against the working directory first. False when a component holds "\", which no Windows
// path can express.
bool toWindowsPath(std::string_view linuxPath, std::string& windowsPath);

// Compares two names the way the platform compares file names: letters without regard to case.
bool sameNameIgnoringCase(std::string_view a, std::string_view b);

} // namespace platform
