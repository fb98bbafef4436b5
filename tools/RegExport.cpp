// MorvaneRegExport /e [/s] file key: writes a registry key and everything below it to a .reg
// file in the registry editor's export format.
#include "registry/ExportCommand.h"

#include <string>
#include <vector>

int main(int argc, char** argv)
{
    return registry::runExportCommand(std::vector<std::string>(argv + 1, argv + argc));
}
