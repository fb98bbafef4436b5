#include "engine/StatusFile.h"

#include "Morvane/LibraryMessage.h"
#include "engine/CollectionEngine.h"
#include "platform/FileSystem.h"
#include "platform/Pause.h"
#include "platform/Profile.h"

#include <chrono>
#include <mutex>

using namespace std::chrono_literals;

namespace {

// Slots 0 to 10 are probed for a new entry.
constexpr int LastNewSlot = 10;

// Read limits, each with room for the terminating NUL of the profile functions.
constexpr std::size_t IdRoom = 7;
constexpr std::size_t StatusRoom = 24;
constexpr std::size_t DescriptionRoom = 254;

// The threads of this process write the file one at a time, so no entry written by one is lost
// to the rewrite of another.
std::mutex& statusFileMutex()
{
    static std::mutex mutex;
    return mutex;
}

std::string slotKey(int slot, const char* name)
{
    return std::to_string(slot) + ")" + name;
}

std::string readKey(int slot, const char* name, std::size_t room)
{
    std::string value;
    platform::readProfileString(StatusSection, slotKey(slot, name), StatusFilePath, value, room);
    return value;
}

std::string readId(int slot)
{
    return readKey(slot, "ID", IdRoom);
}

// The decimal value of an ID text: its leading digits, 0 when it has none.
std::uint32_t idValue(const std::string& id)
{
    std::uint32_t value = 0;
    for (const char c : id) {
        if (c < '0' || c > '9')
            break;
        value = value * 10 + static_cast<std::uint32_t>(c - '0');
    }
    return value;
}

// The slot of the smallest ID, later slots winning ties; an ID of 0 never stays chosen.
int replacedSlot()
{
    std::uint32_t smallest = 0;
    int chosen = 0;
    for (int slot = 0;; ++slot) {
        const std::string id = readId(slot);
        if (id.empty())
            break;
        const std::uint32_t value = idValue(id);
        if (smallest > 0 && smallest < value)
            continue;
        smallest = value;
        chosen = slot;
    }
    return chosen;
}

int newEntrySlot()
{
    for (int slot = 0; slot <= LastNewSlot; ++slot) {
        if (readId(slot).empty())
            return slot;
    }
    return replacedSlot();
}

// Writes the three keys of a slot with one replacement of the file.
bool writeEntry(int slot, const StatusRecord& record)
{
    std::string text;
    if (platform::pathExists(StatusFilePath) && !platform::readFile(StatusFilePath, text))
        return false;
    text = platform::withProfileValue(text, StatusSection, slotKey(slot, "ID"), record.ID);
    text = platform::withProfileValue(text, StatusSection, slotKey(slot, "STATUS"), record.STATUS);
    text = platform::withProfileValue(text, StatusSection, slotKey(slot, "DESCRIPTION"), record.DESCRIPTION);
    return platform::replaceFile(StatusFilePath, text);
}

// The STATUS of a report's event code; codes 5 to 100 are never reported and give "".
std::string statusOf(std::int32_t eventCode)
{
    const auto code = static_cast<std::uint32_t>(eventCode);
    if (code == 0)
        return "COMPLETE";
    if (code <= 4)
        return "FAIL";
    if (code > 100)
        return "WORKING";
    return {};
}

} // namespace

bool addWorkingEntry(const std::string& statusId)
{
    {
        const std::lock_guard lock(statusFileMutex());
        int slot = 0;
        if (platform::pathExists(StatusFilePath))
            slot = newEntrySlot();
        else if (!platform::replaceFile(StatusFilePath, ""))
            return false;
        if (!writeEntry(slot, StatusRecord{statusId, "WORKING", ""}))
            return false;
    }
    platform::pause(2000ms);
    return true;
}

void updateEntry(CollectionEngine& engine, const LibraryMessage& record)
{
    // A run without a status ID has no entry of its own; any slot it took would be another's.
    if (engine.statusId.empty())
        return;
    const std::string status = statusOf(record.eventCode);

    const std::lock_guard lock(statusFileMutex());
    // The run's own slot, or the first free one. When the entry was replaced meanwhile by a newer
    // run, all eleven slots hold other runs, and the run goes on in a twelfth: the replacement
    // rule would take another live run's entry, and the two would then keep taking each other's.
    int slot = 0;
    for (;; ++slot) {
        const std::string id = readId(slot);
        if (id.empty() || id == engine.statusId)
            break;
    }
    engine.statusSlot = slot;
    writeEntry(slot, StatusRecord{engine.statusId, status, record.messageText});
}

int findEntry(std::uint32_t runId, std::string& description)
{
    for (int slot = 0;; ++slot) {
        const std::string id = readId(slot);
        if (id.empty()) {
            description.clear();
            return StatusMissing;
        }
        if (idValue(id) != runId)
            continue;
        const std::string status = readKey(slot, "STATUS", StatusRoom);
        description = readKey(slot, "DESCRIPTION", DescriptionRoom);
        if (status == "FAIL")
            return StatusFailed;
        if (status == "COMPLETE")
            return StatusComplete;
        return StatusWorking;
    }
}
