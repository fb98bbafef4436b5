// Writes store files for the engine's tests into ".\Morvane Package\" of the working folder.
#pragma once

#include "WorkingFolder.h"

#include <string>
#include <utility>
#include <vector>

namespace enginetest {

using Settings = std::vector<std::pair<std::string, std::string>>;

// Settings whose machine ID is the literal "PC042" and whose output folder is ".\Out\".
inline Settings defaultSettings()
{
    return {{"Local Directory", ".\\Out\\"},
            {"Perform FTP", "0"},
            {"Password Enable", "0"},
            {"Computer Name", "NULL"},
            {"Registry Field", "NULL"},
            {"User Defined", "PC042"}};
}

inline std::string storePath(const std::string& fileName)
{
    return std::string("Morvane Package/") + fileName;
}

// A settings file: CONFIGURATION, then SELECT PACKAGE with the selected names.
inline void writeSettings(const testsupport::WorkingFolder& folder, const std::string& fileName,
                          const Settings& settings, const std::vector<std::string>& selection)
{
    std::string text = "[CONFIGURATION]\r\n";
    for (const auto& [key, value] : settings)
        text += key + "=" + value + "\r\n";
    text += "\r\n[SELECT PACKAGE]\r\n";
    for (std::size_t i = 0; i < selection.size(); ++i)
        text += std::to_string(i) + ")Name=" + selection[i] + "\r\n";
    folder.write(storePath(fileName), text);
}

// A package file with file rules ("Filenum,Recursive,Directory,FileFormat") and registry rules.
inline void writePackage(const testsupport::WorkingFolder& folder, const std::string& fileName,
                         const std::vector<std::vector<std::string>>& fileRules,
                         const std::vector<std::string>& registryRules)
{
    std::string text = "\r\n\r\n\r\n\r\n[FILES]\r\n";
    for (std::size_t i = 0; i < fileRules.size(); ++i) {
        const auto n = std::to_string(i);
        text += n + ")Filenum=" + fileRules[i][0] + "\r\n" + n + ")Directory=" + fileRules[i][2]
                + "\r\n" + n + ")FileFormat=" + fileRules[i][3] + "\r\n" + n
                + ")Recursive=" + fileRules[i][1] + "\r\n";
    }
    text += "\r\n\r\n\r\n[REGISTRY]\r\n";
    for (std::size_t i = 0; i < registryRules.size(); ++i)
        text += std::to_string(i) + ")HKEY=" + registryRules[i] + "\r\n";
    folder.write(storePath(fileName), text);
}

// n registry rules naming keys that do not exist.
inline std::vector<std::string> registryRules(int n)
{
    std::vector<std::string> rules;
    for (int i = 0; i < n; ++i)
        rules.push_back("HKEY_LOCAL_MACHINE\\SOFTWARE\\Morvane\\Missing" + std::to_string(i));
    return rules;
}

} // namespace enginetest
