#include "registry/ExportCommand.h"

#include "platform/FileSystem.h"
#include "registry/Hive.h"
#include "registry/HiveExport.h"

#include <cstdio>

namespace registry {
namespace {

bool sameSwitch(const std::string& argument, char letter)
{
    return argument.size() == 2 && argument[0] == '/' && (argument[1] | 0x20) == letter;
}

std::string upperCased(std::string text)
{
    for (char& c : text) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

// The key of a path that starts with a root's long or short name; noKey otherwise.
Hive::Key keyOfPath(const Hive& hive, const std::string& path)
{
    const std::size_t separator = path.find('\\');
    const std::string rootName = upperCased(path.substr(0, separator));
    for (const RegistryRoot& root : registryRoots) {
        if (rootName == root.longName || rootName == root.shortName)
            return hive.findKey(hive.root(root.handle), separator == std::string::npos ? std::string() : path.substr(separator + 1));
    }
    return Hive::noKey;
}

} // namespace

int runExportCommand(const std::vector<std::string>& arguments)
{
    bool exportSwitch = false;
    bool silent = false;
    std::vector<std::string> texts;
    for (const std::string& argument : arguments) {
        if (sameSwitch(argument, 'e'))
            exportSwitch = true;
        else if (sameSwitch(argument, 's'))
            silent = true;
        else
            texts.push_back(argument);
    }
    const auto fail = [&](int status, const char* what, const std::string& subject) {
        if (!silent)
            std::fprintf(stderr, "%s: %s\n", what, subject.c_str());
        return status;
    };
    if (!exportSwitch || texts.size() != 2)
        return fail(ExportUsage, "usage", "/e [/s] file key");

    const std::string& file = texts[0];
    const std::string& keyPath = texts[1];
    const Hive hive = Hive::load();
    const Hive::Key key = keyOfPath(hive, keyPath);
    if (key == Hive::noKey)
        return fail(ExportKeyMissing, "no such registry key", keyPath);
    if (!platform::replaceFile(file, exportKey(hive, key)))
        return fail(ExportWriteFailed, "cannot write", file);
    return ExportDone;
}

} // namespace registry
