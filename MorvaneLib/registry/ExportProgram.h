// Where the library finds the registry export program it starts for each registry rule.
#pragma once

#include <string>
#include <string_view>

namespace registry {

inline constexpr std::string_view exportProgramName = "MorvaneRegExport";

// The Linux path of the export program: beside the library unless set otherwise.
std::string exportProgramPath();

// Points the library at another program; an empty path restores the one beside the library.
void setExportProgramPath(std::string path);

} // namespace registry
