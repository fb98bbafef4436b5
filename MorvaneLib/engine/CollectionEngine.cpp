#include "engine/CollectionEngine.h"

#include "engine/FileSystemHelpers.h"
#include "engine/Library.h"
#include "engine/StatusFile.h"
#include "platform/FileSystem.h"
#include "platform/Pause.h"
#include "platform/WindowDirectory.h"
#include "store/PackageStore.h"

#include <chrono>
#include <memory>

using namespace std::chrono_literals;

namespace {

const std::string RunningText = "Running...";

// Progress reports stop short of the packaging step's 80.
constexpr int PackagingProgress = 80;

std::string replaceAll(std::string text, const std::string& from, const std::string& to)
{
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

bool isFile(const std::string& path)
{
    return platform::pathExists(path) && !platform::isFolder(path);
}

// The problem time names the working folder and the archive: a character that a name may not
// hold would lead those paths elsewhere (and the working folder is deleted at the end).
std::string nameSafeProblemTime(std::string problemTime)
{
    for (char& c : problemTime) {
        if (std::string_view("/\\|?:'<>*").find(c) != std::string_view::npos)
            c = '_';
    }
    return problemTime;
}

// Writes the description's line ends the way the rest of the report has them, CR LF.
std::string withCrLf(const std::string& text)
{
    return replaceAll(replaceAll(text, "\r\n", "\n"), "\n", "\r\n");
}

} // namespace

CollectionEngine::CollectionEngine()
{
    // The store must outlive the process-wide engine, so it comes to exist first.
    store();
}

PackageStore& CollectionEngine::store() const
{
    return libraryStore();
}

int CollectionEngine::run(std::string description, std::string& message, int unattended,
                          std::string problemTime)
{
    PackageStore& packageStore = store();
    this->problemTime = nameSafeProblemTime(std::move(problemTime));
    this->unattended = unattended;
    ftpResult = 0;
    packageStore.CurrentSettingsPath(settingsPath);

    if (!isFile(settingsPath)) {
        message = "Missing or invalid File config.";
        reportProgress(20, message, message, 1, 0);
        settingsPath = replaceAll(settingsPath, "Current_", "");
        if (!isFile(settingsPath))
            return 1;
        packageStore.PrepareCurrentCopies();
        packageStore.CurrentSettingsPath(settingsPath);
    }

    std::string resolvedId;
    if (!packageStore.ResolveMachineId(settingsPath, resolvedId)) {
        message = "A unique machine ID is required.";
        reportProgress(20, message, message, 2, 0);
        return 2;
    }
    machineId = resolvedId;

    std::string allPackages;
    if (packageStore.ListCurrentPackages(allPackages) == 0) {
        message = "No packages are available.";
        reportProgress(20, message, message, 3, 0);
        return 3;
    }

    packageStore.ReadSetting(settingsPath, "Local Directory", localDirectory);
    applyRetention();
    writeProblemReport(description);
    reportProgress(20, RunningText, RunningText, -1, 1);
    gatherPackages();
    reportProgress(PackagingProgress, "Zip Files", "Zip Files", -1, 1);
    packWorkFolder();
    if (transferWanted()) {
        message = "Send files to FTP server";
        reportProgress(90, message, message, -1, this->unattended ? 0 : 1);
        ftpResult = transferArchive();
    }
    platform::pause(1000ms);
    if (zipResult == ZipOk)
        deleteFolderTree(workFolder);

    message = "Completed.";
    reportProgress(95, message, message, 0, 1);
    return 0;
}

void CollectionEngine::gatherPackages()
{
    PackageStore& packageStore = store();
    std::string list;
    int count = 0;
    if (unattended)
        count = packageStore.ListCurrentPackages(list);
    else
        packageStore.ReadSelection(settingsPath, list, count);

    int progress = 20;
    const auto countRule = [&] {
        ++progress;
        if (progress < PackagingProgress)
            reportProgress(progress, RunningText, RunningText, -1, 1);
    };

    std::string field;
    for (int index = 0; index < count; ++index) {
        const std::string name = packageStore.GetField(list, index, '*', field);
        if (name.empty())
            continue;
        std::string offending;
        if (!packageStore.CheckNameCharacters(name, true, offending) || name == "." || name == "..") {
            packageStore.AppendLogLine("package '" + name + "' skipped: its name cannot name a folder",
                                       false);
            continue;
        }
        const std::string packageFile = packageStore.CurrentPackagePath(name);
        currentPackage = replaceAll(name, " ", "-");
        makeFolderPath(workFolder + "\\" + currentPackage);
        packageStore.AppendLogLine("package - " + currentPackage + " ", true);

        std::string rule;
        for (int number = 0; packageStore.ReadFileRule(number, packageFile, rule); ++number) {
            logFileRule(rule);
            gatherFileRule(rule);
            countRule();
        }

        std::string keyPath;
        for (int number = 0; packageStore.ReadRegistryRule(number, packageFile, keyPath); ++number) {
            exportRegistryRule(keyPath);
            countRule();
            platform::pause(2000ms);
        }
    }
}

void CollectionEngine::logFileRule(const std::string& rule) const
{
    PackageStore& packageStore = store();
    std::string field;
    const std::string filenum = packageStore.GetField(rule, 0, ',', field);
    const std::string recursive = packageStore.GetField(rule, 1, ',', field);
    const std::string directory = packageStore.GetField(rule, 2, ',', field);
    const std::string fileFormat = packageStore.GetField(rule, 3, ',', field);
    packageStore.AppendLogLine("File '" + directory + fileFormat + " (" + filenum + " File(s)  "
                                   + (recursive != "0" ? ",Recursive" : "") + ")' added to package '"
                                   + currentPackage + "'",
                               true);
}

bool CollectionEngine::transferWanted() const
{
    if (unattended)
        return true;
    std::string performFtp;
    return store().ReadSetting(settingsPath, "Perform FTP", performFtp) && performFtp == "1";
}

void CollectionEngine::writeProblemReport(const std::string& description)
{
    workFolder = localDirectory + machineId + "_" + problemTime;
    zipName = machineId + "_" + problemTime + ".zip";
    makeFolderPath(workFolder);

    const std::string reportFile = workFolder + "\\" + machineId + "_" + problemTime + ".txt";
    const std::string text = store().VersionText() + "\r\n\r\n" + "Problem Description: \r\n\r\n"
                             + "\r\n" + withCrLf(description) + "\r\n";
    platform::appendToFile(reportFile, text);
}

void CollectionEngine::reportProgress(int progress, const std::string& statusText,
                                      const std::string& messageText, int eventCode, int updateStatus)
{
    if (messageText != RunningText)
        store().AppendLogLine(messageText, true);

    auto record = std::make_unique<LibraryMessage>();
    record->statusText = statusText;
    record->progress = progress;
    record->messageText = messageText;
    record->eventCode = eventCode;
    record->updateStatus = updateStatus;
    record->ftpSent = ftpResult;

    windowTitle = "Morvane";
    const platform::WindowHandle window = platform::findWindow(windowTitle);
    if (window != 0)
        platform::postMessage(window, progressMessage(), LibraryMessageParam, std::move(record));
    else
        updateEntry(*this, *record);
}
