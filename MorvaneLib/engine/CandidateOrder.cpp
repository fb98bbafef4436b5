#include "engine/CandidateOrder.h"

#include <algorithm>
#include <numeric>

// How the exchange procedure moves the entries. Its first round (j = 0) walks position 0 through
// the entries that are greater than every entry before them: the last of them ends at
// position 0 and each earlier one at the position of the next. Each later round j takes the entry
// at j into the sorted part before it: the entry joins the end of the group of its own time,
// and every group of greater time that already holds entries moves its front entry to its back.
//
// So the entries of one time join their group in the order of the first round's result, and
// between two arrivals the group turns once for every arrival of a smaller time. The final order
// of a group follows from those turns, undone from the last arrival back to the first.

namespace {

// The free slots among positions 0..size-1 (a binary indexed tree of counts), found by rank.
class FreeSlots {
public:
    // Every slot free.
    void reset(std::size_t size)
    {
        m_tree.resize(size + 1);
        for (std::size_t i = 1; i <= size; ++i)
            m_tree[i] = i & (~i + 1);
        m_top = 1;
        while (m_top * 2 <= size)
            m_top *= 2;
    }

    // The slot of the free one with this rank (0 for the first); it is taken.
    std::size_t take(std::size_t rank)
    {
        std::size_t slot = 0;
        for (std::size_t step = m_top; step > 0; step /= 2) {
            const std::size_t next = slot + step;
            if (next < m_tree.size() && m_tree[next] <= rank) {
                slot = next;
                rank -= m_tree[next];
            }
        }
        for (std::size_t i = slot + 1; i < m_tree.size(); i += i & (~i + 1))
            --m_tree[i];
        return slot;
    }

private:
    std::vector<std::size_t> m_tree;
    std::size_t m_top = 1;
};

struct Arrival {
    std::uint32_t time;
    std::size_t entry;         // index into the times
    std::size_t smallerBefore; // earlier arrivals of a smaller time
};

// The entries' order after the first round, as indices into times.
std::vector<std::size_t> afterFirstRound(const std::vector<std::uint32_t>& times)
{
    std::vector<std::size_t> order(times.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::size_t record = 0;
    for (std::size_t i = 1; i < times.size(); ++i) {
        if (times[i] > times[record]) {
            order[i] = record;
            record = i;
        }
    }
    order[0] = record;
    return order;
}

} // namespace

std::vector<std::size_t> exchangeSortOrder(const std::vector<std::uint32_t>& times)
{
    const std::size_t count = times.size();
    if (count == 0)
        return {};

    // The arrivals after the first round, sorted by time with a stable merge sort that also
    // counts, for each arrival, the earlier arrivals of a smaller time.
    std::vector<Arrival> arrivals;
    arrivals.reserve(count);
    for (std::size_t entry : afterFirstRound(times))
        arrivals.push_back({times[entry], entry, 0});
    std::vector<Arrival> merged(count);
    for (std::size_t width = 1; width < count; width *= 2) {
        for (std::size_t low = 0; low < count; low += 2 * width) {
            const std::size_t middle = std::min(low + width, count);
            const std::size_t high = std::min(low + 2 * width, count);
            std::size_t left = low;
            std::size_t right = middle;
            std::size_t smallerLeft = low; // the earlier arrivals below the current later one
            for (std::size_t out = low; out < high; ++out) {
                if (left < middle && (right == high || arrivals[left].time <= arrivals[right].time)) {
                    merged[out] = arrivals[left++];
                } else {
                    while (smallerLeft < middle && arrivals[smallerLeft].time < arrivals[right].time)
                        ++smallerLeft;
                    arrivals[right].smallerBefore += smallerLeft - low;
                    merged[out] = arrivals[right++];
                }
            }
        }
        arrivals.swap(merged);
    }

    std::vector<std::size_t> sorted(count);
    FreeSlots freeSlots;
    for (std::size_t begin = 0; begin < count;) {
        std::size_t end = begin + 1;
        while (end < count && arrivals[end].time == arrivals[begin].time)
            ++end;
        // The group takes positions begin..end-1; begin is also the number of smaller entries.
        const std::size_t size = end - begin;
        freeSlots.reset(size);
        std::size_t head = 0; // rank of the group's front among the slots still free
        for (std::size_t members = size; members > 0; --members) {
            const Arrival& member = arrivals[begin + members - 1];
            const std::size_t nextSmaller = members == size ? begin : arrivals[begin + members].smallerBefore;
            const std::size_t turns = (nextSmaller - member.smallerBefore) % members;
            // Before those turns the front was here, and this member had just joined the back.
            const std::size_t front = head >= turns ? head - turns : head + members - turns;
            const std::size_t joined = freeSlots.take(front == 0 ? members - 1 : front - 1);
            sorted[begin + joined] = member.entry;
            head = front == 0 ? 0 : front - 1;
        }
        begin = end;
    }
    return sorted;
}

void sortCandidates(std::vector<FileCandidate>& candidates)
{
    std::vector<std::uint32_t> times;
    times.reserve(candidates.size());
    for (const FileCandidate& candidate : candidates)
        times.push_back(candidate.time);
    const std::vector<std::size_t> order = exchangeSortOrder(times);
    std::vector<FileCandidate> sorted;
    sorted.reserve(candidates.size());
    for (std::size_t index : order)
        sorted.push_back(std::move(candidates[index]));
    candidates = std::move(sorted);
}
