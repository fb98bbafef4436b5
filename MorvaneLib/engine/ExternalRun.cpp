// The entry points for other programs: runFileCollection starts an unattended run on an engine
// of its own and getFileCollectionStatus reads its entry of the status file.
#include "Morvane/MorvaneLib.h"
#include "Morvane/MorvaneLibC.h"

#include "engine/CollectionEngine.h"
#include "engine/Library.h"
#include "engine/StatusFile.h"
#include "platform/FileSystem.h"
#include "store/PackageStore.h"

#include <algorithm>
#include <cstring>

namespace {

// Room of the caller's buffer of getFileCollectionStatus, its NUL included.
constexpr std::size_t StatusTextRoom = 255;

std::string withoutUnderscores(std::string text)
{
    text.erase(std::remove(text.begin(), text.end(), '_'), text.end());
    return text;
}

std::uint32_t decimalValue(const std::string& digits)
{
    std::uint32_t value = 0;
    for (const char c : digits)
        value = value * 10 + static_cast<std::uint32_t>(c - '0');
    return value;
}

// At most limit bytes of text, never ending inside a UTF-8 character.
std::size_t cutLength(const std::string& text, std::size_t limit)
{
    if (text.size() <= limit)
        return text.size();
    std::size_t cut = limit;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;
    return cut;
}

} // namespace

namespace morvane {

uint32_t runFileCollection(std::string description)
{
    try {
        PackageStore& store = libraryStore();
        CollectionRequest request;
        request.description = std::move(description);
        std::string timeText;
        request.problemTime = store.MakeTimestamp(timeText);
        request.statusId = withoutUnderscores(timeText);

        // The run would take this folder; a run of the same machine and minute holds it.
        if (platform::pathExists(store.MachineOutputFolder() + "_" + request.problemTime))
            return 0;

        request = storeRequest(request);
        addWorkingEntry(request.statusId);
        const bool started = startWorker([request]() mutable {
            CollectionEngine engine;
            engine.statusId = request.statusId;
            request.unattended = 1;
            engine.run(request.description, request.message, request.unattended, request.problemTime);
        });
        return started ? decimalValue(request.statusId) : 0;
    } catch (...) {
        return 0;
    }
}

int getFileCollectionStatus(uint32_t runId, std::string& description)
{
    try {
        std::string found;
        const int code = findEntry(runId, found);
        found.resize(cutLength(found, StatusTextRoom - 1));
        description = std::move(found);
        return code;
    } catch (...) {
        description.clear();
        return StatusMissing;
    }
}

} // namespace morvane

extern "C" uint32_t runFileCollection(const char* description)
{
    try {
        return morvane::runFileCollection(description ? std::string(description) : std::string());
    } catch (...) {
        return 0;
    }
}

extern "C" int getFileCollectionStatus(uint32_t runId, char* text)
{
    std::string description;
    const int code = morvane::getFileCollectionStatus(runId, description);
    if (text)
        std::memcpy(text, description.c_str(), description.size() + 1);
    return code;
}
