// The export program's work: the registry editor's export command line over the hive.
//
// The command line is "/e [/s] file key" (switches in any letter case and order, before or
// between the two texts). The key path starts with a root's long or short name in any letter
// case; the file is a Windows path text. The key and everything below it are written to the
// file in the registry editor's export format, replacing what the file held.
#pragma once

#include <string>
#include <vector>

namespace registry {

// Exit codes of the export program.
enum ExportStatus {
    ExportDone = 0,
    ExportKeyMissing = 1,   // nothing is written
    ExportUsage = 2,        // the command line is not the export form; nothing is written
    ExportWriteFailed = 3,  // the file could not be written; a file there before is kept whole
};

// Runs one export for the arguments after the program name. Without "/s" a failure is also
// described on the error output.
int runExportCommand(const std::vector<std::string>& arguments);

} // namespace registry
