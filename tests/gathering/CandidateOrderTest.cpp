#include "engine/CandidateOrder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <numeric>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

// The exchange procedure as it reads, quadratic: the reference for the order.
std::vector<std::size_t> orderByExchange(std::vector<std::uint32_t> times)
{
    std::vector<std::size_t> order(times.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    for (std::size_t j = 0; j < times.size(); ++j) {
        for (std::size_t i = 0; i < times.size(); ++i) {
            if (times[j] < times[i]) {
                std::swap(times[i], times[j]);
                std::swap(order[i], order[j]);
            }
        }
    }
    return order;
}

std::vector<std::uint32_t> randomTimes(std::mt19937& random, std::size_t size, std::vector<std::uint32_t> pool)
{
    std::uniform_int_distribution<std::size_t> pick(0, pool.size() - 1);
    std::vector<std::uint32_t> times(size);
    for (auto& time : times)
        time = pool[pick(random)];
    return times;
}

TEST(CandidateOrder, MatchesTheExchangeProcedureIncludingTies)
{
    std::mt19937 random(20240510);
    constexpr std::uint32_t latest = std::numeric_limits<std::uint32_t>::max();
    for (int table = 0; table < 4000; ++table) {
        // Mostly small tables over a few distinct times, so that ties are everywhere.
        const std::size_t size = std::uniform_int_distribution<std::size_t>(0, table < 3900 ? 40 : 1500)(random);
        const std::size_t distinct = std::uniform_int_distribution<std::size_t>(1, table % 3 == 0 ? 3 : 12)(random);
        std::vector<std::uint32_t> pool;
        for (std::size_t value = 0; value < distinct; ++value)
            pool.push_back(value == 0 && table % 5 == 0 ? latest : static_cast<std::uint32_t>(value * 3600));
        const std::vector<std::uint32_t> times = randomTimes(random, size, pool);
        SCOPED_TRACE("table " + std::to_string(table) + " of " + std::to_string(size) + " entries");
        ASSERT_EQ(exchangeSortOrder(times), orderByExchange(times));
    }
}

TEST(CandidateOrder, OrdersEqualTimesUnlikeAStableSort)
{
    // Three entries of one time followed by a newer one: the first round carries the newest to
    // the front, and taking the others back in turns the group once.
    EXPECT_EQ(exchangeSortOrder({10, 10, 10, 20}), (std::vector<std::size_t>{1, 2, 0, 3}));
    EXPECT_EQ(exchangeSortOrder({20, 20, 20, 10}), (std::vector<std::size_t>{3, 1, 2, 0}));
}

TEST(CandidateOrder, SortingMovesWholeEntries)
{
    std::vector<FileCandidate> table = {
        {"c.log", 30, 0}, {"a.log", 10, 1}, {"b.log", 20, 1}, {"a2.log", 10, 1}};
    sortCandidates(table);
    std::vector<std::pair<std::string, int>> sorted;
    for (const auto& entry : table)
        sorted.emplace_back(entry.name + "@" + std::to_string(entry.time), entry.notAfterProblem);
    EXPECT_EQ(sorted, (std::vector<std::pair<std::string, int>>{
                          {"a.log@10", 1}, {"a2.log@10", 1}, {"b.log@20", 1}, {"c.log@30", 0}}));
}

} // namespace
