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

// Counts over positions 0..size-1, with prefix sums and the search for the n-th counted one.
class CountTree {
public:
    void reset(std::size_t size, bool filled)
    {
        m_tree.assign(size + 1, 0);
        if (filled) {
            for (std::size_t i = 1; i <= size; ++i)
                m_tree[i] = i & (~i + 1);
        }
        m_top = 1;
        while (m_top * 2 <= size)
            m_top *= 2;
    }

    void add(std::size_t position, long long delta)
    {
        for (std::size_t i = position + 1; i < m_tree.size(); i += i & (~i + 1))
            m_tree[i] += delta;
    }

    // The sum of the counts of the positions before position.
    std::size_t countBefore(std::size_t position) const
    {
        long long sum = 0;
        for (std::size_t i = position; i > 0; i -= i & (~i + 1))
            sum += m_tree[i];
        return static_cast<std::size_t>(sum);
    }

    // The position that holds the counted entry with rank (0 for the first); the tree must hold
    // more than rank entries.
    std::size_t findByRank(std::size_t rank) const
    {
        std::size_t position = 0;
        long long remaining = static_cast<long long>(rank);
        for (std::size_t step = m_top; step > 0; step /= 2) {
            const std::size_t next = position + step;
            if (next < m_tree.size() && m_tree[next] <= remaining) {
                position = next;
                remaining -= m_tree[next];
            }
        }
        return position;
    }

private:
    std::vector<long long> m_tree;
    std::size_t m_top = 1;
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
    const std::vector<std::size_t> arrivals = afterFirstRound(times);
    const auto timeOf = [&](std::size_t step) { return times[arrivals[step]]; };

    // The arrival steps by time; steps of one time stay in arrival order.
    std::vector<std::size_t> byTime(count);
    std::iota(byTime.begin(), byTime.end(), std::size_t{0});
    std::stable_sort(byTime.begin(), byTime.end(),
                     [&](std::size_t a, std::size_t b) { return timeOf(a) < timeOf(b); });
    std::vector<std::size_t> groupOfStep(count);
    std::size_t groups = 0;
    for (std::size_t at = 0; at < count; ++at) {
        if (at > 0 && timeOf(byTime[at]) != timeOf(byTime[at - 1]))
            ++groups;
        groupOfStep[byTime[at]] = groups;
    }
    ++groups;

    // For each step, how many earlier arrivals had a smaller time.
    std::vector<std::size_t> smallerBefore(count);
    CountTree arrived;
    arrived.reset(groups, false);
    for (std::size_t step = 0; step < count; ++step) {
        smallerBefore[step] = arrived.countBefore(groupOfStep[step]);
        arrived.add(groupOfStep[step], 1);
    }

    std::vector<std::size_t> sorted(count);
    CountTree freeSlots;
    for (std::size_t begin = 0; begin < count;) {
        std::size_t end = begin + 1;
        while (end < count && groupOfStep[byTime[end]] == groupOfStep[byTime[begin]])
            ++end;
        // The group takes positions begin..end-1; begin is also the number of smaller entries.
        const std::size_t size = end - begin;
        freeSlots.reset(size, true);
        std::size_t head = 0; // rank of the group's front among the slots still free
        for (std::size_t members = size; members > 0; --members) {
            const std::size_t step = byTime[begin + members - 1];
            const std::size_t nextSmaller =
                members == size ? begin : smallerBefore[byTime[begin + members]];
            const std::size_t turns = (nextSmaller - smallerBefore[step]) % members;
            // Before those turns the front was here, and this member had just joined the back.
            const std::size_t front = (head + members - turns) % members;
            const std::size_t joined = freeSlots.findByRank((front + members - 1) % members);
            freeSlots.add(joined, -1);
            sorted[begin + joined] = arrivals[step];
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
