// The state of one collection run and the steps it is made of.
//
// A run checks the settings, the machine ID and the packages, writes the problem report into a
// working folder, gathers each package's file rules and registry rules into it, packs it into a
// zip archive beside it, sends the archive by FTP when wanted, deletes the working folder and
// reports "Completed.". Every stage reports through reportProgress. Paths are Windows path texts;
// the platform layer translates them when the file system is touched. One engine serves one run
// at a time; the fields are the run's own state and are public so that each step (and its
// tests) can read and prepare them.
#pragma once

#include "zip/ZipResult.h"

#include <cstdint>
#include <string>
#include <vector>

class PackageStore;

// One entry of the candidate table of a folder scan (file gathering).
struct FileCandidate {
    std::string name;         // as the folder listing gives it, in its own letter case
    uint32_t time = 0;        // modification time in seconds since 1970; 0 for a folder
    int notAfterProblem = 0;  // 1 when modified in or before the problem minute
};

class CollectionEngine {
public:
    CollectionEngine();
    CollectionEngine(const CollectionEngine&) = delete;
    CollectionEngine& operator=(const CollectionEngine&) = delete;

    // Runs one collection. message receives each outcome text before it is reported.
    // Returns 0 when the run went through, 1 when no settings file exists, 2 when no machine ID
    // can be determined, 3 when no package exists.
    int run(std::string description, std::string& message, int unattended, std::string problemTime);

    // Sets workFolder and zipName, creates the working folder and appends the problem report.
    void writeProblemReport(const std::string& description);

    // Copies what one file rule ("Filenum,Recursive,Directory,FileFormat") selects into the
    // package folder.
    void gatherFileRule(const std::string& rule);

    // Exports one registry key, with everything below it, into a .reg file in the package folder.
    void exportRegistryRule(const std::string& keyPath);

    // Trims the old archives of the local output folder; reads localDirectory.
    void applyRetention();

    // Packs the working folder into the archive beside it; sets zipPath.
    void packWorkFolder();

    // Sends the archive by FTP. Returns 1 on success, 0 on failure.
    int transferArchive();

    // Reports the run's progress to the program window titled "Morvane", or, when there is
    // none, to the status file. ftpSent is taken from ftpResult.
    void reportProgress(int progress, const std::string& statusText, const std::string& messageText,
                        int eventCode, int updateStatus);

    // The library's store, shared by every engine.
    PackageStore& store() const;

    std::string currentPackage;  // package being gathered, spaces replaced by "-"
    std::string windowTitle;     // "Morvane", set before each window lookup
    std::string statusId;        // HHmmSS of a status-file run; empty otherwise
    int statusSlot = 0;          // status-file slot written last
    int unattended = 0;
    int ftpResult = 0;           // 1 when this run's transfer succeeded
    std::vector<FileCandidate> candidates;
    std::string machineId;
    std::string settingsPath;
    std::string localDirectory;  // "Local Directory", ending in a backslash
    std::string problemTime;     // YYYY_MM_DD_HH_mm
    std::string zipName;         // machineId "_" problemTime ".zip"
    std::string workFolder;      // localDirectory machineId "_" problemTime
    std::string zipPath;         // workFolder ".zip"
    ZipResult zipResult = ZipOk; // what kept packWorkFolder from writing the whole archive

private:
    // Gathers every package of the run into the working folder, file rules before registry
    // rules, reporting the progress counter from 21 while it is below 80.
    void gatherPackages();
    void logFileRule(const std::string& rule) const;
    // Unattended runs always transfer; attended runs when "Perform FTP" is "1".
    bool transferWanted() const;
};
