// The store, fixture files and registry hive that the unattended runs of these tests collect:
// machine ID "PC042", archives in ".\Out\", one package with a file rule and optionally a
// registry rule, and the FTP target "<host>\incoming" that every unattended run sends to (by
// default a port where nothing listens).
#pragma once

#include "WorkingFolder.h"

#include <string>

namespace unattendedtest {

inline constexpr char MachineId[] = "PC042";

struct StoreOptions {
    std::string ftpHost = "127.0.0.1:1"; // "host:port" of the FTP server
    bool registryRule = false;   // the package also exports HKEY_LOCAL_MACHINE\SOFTWARE\Fixture
    bool currentSettings = true; // false: only the default settings and package exist
};

inline void writeStore(const testsupport::WorkingFolder& folder, const StoreOptions& options = {})
{
    const std::string settings = "[CONFIGURATION]\r\n"
                                 "FTP Path=" + options.ftpHost + "\\incoming\r\n"
                                 "Local Directory=.\\Out\\\r\n"
                                 "Perform FTP=0\r\n"
                                 "Password Enable=0\r\n"
                                 "Computer Name=NULL\r\n"
                                 "Registry Field=NULL\r\n"
                                 "User Defined=PC042\r\n"
                                 "\r\n[SELECT PACKAGE]\r\n0)Name=Logs\r\n";
    std::string package = "[FILES]\r\n0)Filenum=5\r\n0)Directory=.\\Logs\\\r\n0)FileFormat=*.log\r\n0)Recursive=0\r\n"
                          "\r\n[REGISTRY]\r\n";
    if (options.registryRule)
        package += "0)HKEY=HKEY_LOCAL_MACHINE\\SOFTWARE\\Fixture\r\n";
    const bool current = options.currentSettings;
    folder.write(current ? "Morvane Package/Current_Morvane.ini" : "Morvane Package/Morvane.ini", settings);
    folder.write(current ? "Morvane Package/Current_Package_Logs.ini" : "Morvane Package/package_Logs.ini", package);
    folder.write("Logs/app.log", "the application's log\n");
    folder.write("MorvaneRegistry.reg", "Windows Registry Editor Version 5.00\r\n\r\n"
                                        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Fixture]\r\n"
                                        "\"Colour\"=\"blue\"\r\n");
}

} // namespace unattendedtest
