// The order of a candidate table sorted by modification time.
//
// Gathering sorts its table with an exchange procedure: for each position j from the first to
// the last, and within it for each position i from the first to the last, the entries at i and
// j are swapped when the time at j is smaller than the time at i. The result is ascending by
// time; the procedure also fixes the order of entries with equal times, and which of them fall
// into a window depends on it. The functions here give exactly that order in O(n log n).
#pragma once

#include "engine/CollectionEngine.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// For each position of the sorted table, the index in times of the entry that lands there.
std::vector<std::size_t> exchangeSortOrder(const std::vector<std::uint32_t>& times);

// Sorts the table by time into the order of the exchange procedure.
void sortCandidates(std::vector<FileCandidate>& candidates);
