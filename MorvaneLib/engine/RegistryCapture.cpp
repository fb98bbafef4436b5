// Registry capture: each registry rule of a package is exported, with everything below its
// key, into a .reg file in the package folder by the export program, started in the
// background. The run does not wait for it; it pauses after each rule instead.
#include "engine/CollectionEngine.h"

#include "platform/MessageBox.h"
#include "platform/Process.h"
#include "registry/ExportProgram.h"
#include "store/PackageStore.h"

namespace {

// The abbreviated key path as one file name: "\" and what cannot stand in a Linux file
// name ("/", NUL) become "_", so the file stays inside its package folder.
std::string exportFileName(const PackageStore& store, const std::string& keyPath)
{
    std::string name;
    store.AbbreviateRegistryPath(keyPath, name);
    for (char& c : name) {
        if (c == '\\' || c == '/' || c == '\0')
            c = '_';
    }
    return name + ".reg";
}

const char* startErrorMessage(int code)
{
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
        return "ERROR FILE NOT FOUND";
    case ERROR_PATH_NOT_FOUND:
        return "ERROR PATH NOT FOUND";
    case ERROR_ACCESS_DENIED:
        return "ERROR ACCESS DENIED";
    default:
        return nullptr;
    }
}

} // namespace

void CollectionEngine::exportRegistryRule(const std::string& keyPath)
{
    const PackageStore& packageStore = store();
    const std::string filePath = workFolder + "\\" + currentPackage + "\\" + exportFileName(packageStore, keyPath);
    packageStore.AppendLogLine("Registry '" + keyPath + "' added to package '" + currentPackage + "'", true);

    const int result = platform::startProgram(registry::exportProgramPath(), {"/e", "/s", filePath, keyPath});
    if (const char* message = startErrorMessage(result))
        packageStore.ReportMessage(message, MB_OK | MB_ICONERROR, unattended == 0, false);
}
