// The message texts that several windows show, by their string-table numbers, and the one way
// every message text takes its "%s" arguments.
#pragma once

#include <initializer_list>
#include <string>

// The text with each "%s" replaced by the next argument; further "%s" stay as they are.
std::string withArguments(std::string text, std::initializer_list<std::string> arguments);

constexpr char PathTooLongText[] = "The path is too long.";                                       // 9
constexpr char InvalidPackageNameText[] = "Missing or invalid value in the Package Name field.";  // 11
constexpr char PackageExistsText[] = "Package '%s' already exists.";                              // 12
constexpr char ConfirmSettingsChangeText[] = "Are you sure you want to changed the Morvane settings? \n\n"; // 25
constexpr char InvalidRegistryPathText[] = "Missing or invalid value in Registry Path";           // 1083
constexpr char NoMachineIdText[] =
    " A Unique Machine ID has not been defined and files cannot be collected.\n\n Do you want to continue?"; // 1090
constexpr char InvalidUserDefinedText[] = "Missing or invalid value in User Defined field.";      // 1100
constexpr char InvalidCharacterText[] = "Invalid character '%s' in File Format field.";           // 1103
constexpr char MissingPasswordText[] = "Missing or invalid value in ZIP Password field";          // 1129
constexpr char SettingsNotWrittenText[] = "The settings could not be written to '%s'.";
