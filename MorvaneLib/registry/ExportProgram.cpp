#include "registry/ExportProgram.h"

#include "platform/Process.h"

#include <mutex>

namespace registry {
namespace {

std::mutex pathMutex;
std::string chosenPath;

} // namespace

std::string exportProgramPath()
{
    {
        std::lock_guard lock(pathMutex);
        if (!chosenPath.empty())
            return chosenPath;
    }
    return platform::libraryFolder() + "/" + std::string(exportProgramName);
}

void setExportProgramPath(std::string path)
{
    std::lock_guard lock(pathMutex);
    chosenPath = std::move(path);
}

} // namespace registry
