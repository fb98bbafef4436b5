// The status file: ".\Morvane Package\morvaneStatus.ini", section "Statusmorvane", one entry
// per recent run started through runFileCollection, read by getFileCollectionStatus.
//
// Entry n (from 0) is the keys "n)ID" (the run's status ID, six digits HHmmSS), "n)STATUS"
// ("WORKING", "COMPLETE" or "FAIL") and "n)DESCRIPTION" (the latest report's text). Up to 11
// entries are kept: a new run takes the first free slot, or replaces the entry with the
// smallest ID. Every write of an entry replaces the whole file at once with all three keys,
// so a reader in another process sees an entry either whole or not at all. Failed writes are
// ignored.
#pragma once

#include <cstdint>
#include <string>

class CollectionEngine;
struct LibraryMessage;

inline constexpr char StatusFilePath[] = ".\\Morvane Package\\morvaneStatus.ini";
inline constexpr char StatusSection[] = "Statusmorvane";

// One entry of the status file.
struct StatusRecord {
    std::string ID;
    std::string STATUS;
    std::string DESCRIPTION;

    bool operator==(const StatusRecord&) const = default;
};

// Codes of findEntry (and getFileCollectionStatus).
enum StatusCode : int { StatusWorking = 0, StatusComplete = 1, StatusFailed = 2, StatusMissing = 3 };

// Writes a WORKING entry with an empty description for the status ID, then pauses 2000 ms so
// that readers see it before the run starts. False, without the pause, when nothing could be
// written (no store folder).
bool addWorkingEntry(const std::string& statusId);

// Writes a progress report into the entry of the engine's run and keeps its slot in statusSlot.
// A run without a status ID has no entry and changes nothing.
void updateEntry(CollectionEngine& engine, const LibraryMessage& record);

// The code of the entry whose ID has the decimal value runId, and its description; StatusMissing
// and an empty description when no entry holds that ID.
int findEntry(std::uint32_t runId, std::string& description);
