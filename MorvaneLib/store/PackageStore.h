// The package and settings store: the INI files of ".\Morvane Package\" and the small shared
// utilities (log file, logged message boxes, time stamps, field splitting, name checks).
//
// A PackageStore holds nothing between calls: every operation opens, reads or writes and closes
// the files as they are at that moment, so any number of objects see the same store. Paths are
// Windows path texts relative to the working directory. No operation throws or shows anything
// on its own; file-system failures are ignored and the operation goes on, unless a result says
// otherwise. Readers leave their outputs untouched when they return false, unless stated.
//
// Store file names are matched without regard to letter case: "Current_Package_x.ini",
// "Current_package_x.ini" and "current_package_x.ini" name one file, and a rewrite replaces the
// file under the spelling it already has. Every rewrite of a store file is atomic: it leaves the
// previous file whole when it fails, and a read-only file stays as it is.
//
// List texts: a star list holds each name followed by "*"; a comma list separates names by ","
// with none at the end. Entry i of either is taken with GetField. A file rule reaches callers as
// "Filenum,Recursive,Directory,FileFormat".
#pragma once

#include <string>
#include <vector>

// One file rule of a package, section FILES, keys "%d)Filenum", "%d)Directory",
// "%d)FileFormat", "%d)Recursive".
struct FileRule {
    std::string Filenum;    // decimal digits: how many files the rule takes
    std::string Recursive;  // "1": descend into subfolders; "0": this folder only
    std::string Directory;  // folder path
    std::string FileFormat; // file-name pattern ("xxx.type")
};

// One registry rule of a package, section REGISTRY, key "%d)HKEY".
struct RegistryRule {
    std::string KeyPath;
};

struct Package {
    std::string Name;
    std::vector<FileRule> FileRules;
    std::vector<RegistryRule> RegistryRules;
};

// Section CONFIGURATION of a settings file.
struct CollectorSettings {
    std::string FtpPath;        // "FTP Path"
    std::string FtpServer;      // "FTP Server"
    std::string LocalDirectory; // "Local Directory", ends in "\"
    std::string PerformFtp;     // "Perform FTP"
    std::string PasswordEnable; // "Password Enable"
    std::string PasswordValue;  // "Password Value"
    std::string ComputerName;   // "Computer Name"
    std::string RegistryField;  // "Registry Field"
    std::string UserDefined;    // "User Defined"
};

class PackageStore {
public:
    static constexpr const char* StoreFolder = ".\\Morvane Package\\";

    // Paths (text only). CurrentSettingsPath also stores its result into path.
    std::string CurrentSettingsPath(std::string& path) const;
    std::string CurrentSettingsPath() const;
    std::string DefaultPackagePath(const std::string& name) const;
    std::string CurrentPackagePath(const std::string& name) const;

    // Readers. Each returns whether the entry was found.

    // value is set to "" first, then to the CONFIGURATION key (at most 3999 bytes).
    bool ReadSetting(const std::string& file, const std::string& key, std::string& value) const;
    // "Filenum,Recursive,Directory,FileFormat" of rule number; false when Filenum reads absent.
    bool ReadFileRule(int number, const std::string& file, std::string& text) const;
    // "Directory,FileFormat" of rule number; false when its Filenum reads absent.
    bool ReadFileRuleLocation(int number, const std::string& file, std::string& text) const;
    // The key path of registry rule number (at most 999 bytes).
    bool ReadRegistryRule(int number, const std::string& file, std::string& keyPath) const;
    // The selected package name of entry number (at most 119 bytes) followed by "*".
    bool ReadSelectionEntry(int number, const std::string& file, std::string& name) const;
    // Always true: the star list of entries 0, 1, ... up to the first absent one and its count;
    // the list is untouched when there is no entry.
    bool ReadSelection(const std::string& file, std::string& list, int& count) const;

    // Scanners of the store folder, in listing order. Both return the count of current package
    // files; with none (or no folder) the star list is untouched, the comma list becomes ""
    // (untouched when the folder cannot be listed).
    int ListCurrentPackages(std::string& list) const;
    int ListCurrentPackageNames(std::string& list) const;

    // Writers and copiers.

    // With a current settings file: makes every current file writable. Without one: copies the
    // default settings and every default package to their current copies.
    void PrepareCurrentCopies() const;
    // Deletes every current package, then copies every default package and the default settings.
    void RestoreAllDefaults() const;
    // Rewrites the current package with the default's FILES half (which 0) or REGISTRY half (1).
    void RestorePackageSection(const std::string& name, int which) const;
    // Splits a file at the first occurrence of marker: before it, and from it to the end.
    void SplitAtMarker(const std::string& file, const std::string& marker, std::string& before,
                       std::string& after) const;
    void DeleteCurrentPackage(const std::string& name) const;
    // Cuts the current settings file off at "[SELECT PACKAGE]".
    void ClearSelection() const;
    // Rewrites the selection without the name, renumbered from 0.
    void RemoveFromSelection(const std::string& name) const;

    // Shared utilities.

    // Appends one time-stamped line to ".\MorvaneLog.txt"; marked "***" unless plain. Always true.
    bool AppendLogLine(const std::string& message, bool plain) const;
    // Logs the message, then shows it with the caption "Confirmation" or "Error" when show is
    // set. Returns the button chosen, or -1 when nothing was shown.
    int ReportMessage(const std::string& message, unsigned int style, bool show, bool confirmation) const;
    // Returns the stamp YYYY_MM_DD_HH_mm of now and sets timeText to HH_mm_SS.
    std::string MakeTimestamp(std::string& timeText) const;
    // Field number of text split at separator, trimmed of blanks, tabs and line ends; "" when the
    // text is empty or holds no separator. The field is also stored into buffer.
    std::string GetField(const std::string& text, int field, char separator, std::string& buffer) const;
    // False for an empty text or one holding / \ | ? : ' < > (or * when forbidStar);
    // offending is the last of them found in that order, "*" last of all.
    bool CheckNameCharacters(const std::string& text, bool forbidStar, std::string& offending) const;
    std::string VersionText() const;
    // Opens the first of ".\Morvane.pdf", ".\Morvane.htm", ".\Morvane.mht" that exists.
    bool OpenHelpDocument() const;
    // Opens a document in the viewer; show mode 0 minimised, 1 normal, 2 maximised, else hidden.
    // Always true.
    bool OpenDocument(const std::string& path, int showMode) const;

    // Registry paths and machine identity

    // Recognises a long root name ("HKEY_LOCAL_MACHINE", ...) at the start of path in any letter
    // case. root becomes that name in capitals, handle its predefined HKEY value, and path the
    // root followed by the path's text from its first "\" on. An empty path passes with an empty
    // root and handle untouched; any other path fails with path and handle untouched.
    bool ParseRegistryRoot(std::string& path, std::string& root, unsigned int& handle) const;
    // The path with every occurrence of its root's long name, spelt exactly so, replaced by the
    // short name, cut to 245 bytes and stripped of one trailing "\". False (output = path) for
    // a path with an unknown root; an empty path gives "" and true.
    bool AbbreviateRegistryPath(const std::string& path, std::string& output) const;
    // For a key that opens: path is normalised and the result is false when it holds "\\".
    // Otherwise true, and path is left without its root.
    bool CheckRegistryPath(std::string& path) const;
    // Unless valueOnly, a path naming a key that opens is accepted (false when it holds "\\")
    // and output is untouched. Otherwise the last part of path names a value, read as text or
    // as a number in "%d" form into output (emptied when the key opens but the value cannot be
    // read). path is normalised; false (everything untouched) for a path without a known root.
    bool ReadRegistryValue(std::string& path, std::string& output, bool valueOnly) const;

    // The machine ID from the CONFIGURATION keys "Computer Name", "Registry Field" and
    // "User Defined" of the settings file. False when "Computer Name" is absent (id untouched),
    // when every source is "NULL", or when the ID holds a character that names may not hold
    // (id = the computer name).
    bool ResolveMachineId(const std::string& settingsFile, std::string& id) const;
    // "Local Directory" of the current settings followed by the machine ID resolved from them,
    // whatever the resolver's result.
    std::string MachineOutputFolder() const;
};
