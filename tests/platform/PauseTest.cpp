#include "TestPause.h"

#include <gtest/gtest.h>

#include <thread>

using namespace std::chrono_literals;

TEST(Pause, ReplacedPausesAreRecordedInOrderAndNotSlept)
{
    testsupport::TestPause pauses;
    const auto start = std::chrono::steady_clock::now();
    platform::pause(2000ms);
    platform::pause(1000ms);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1000ms);
    EXPECT_EQ(pauses.pauses(), (std::vector<std::chrono::milliseconds>{2000ms, 1000ms}));
}

TEST(Pause, HeldPauseBlocksItsCallerUntilReleased)
{
    testsupport::TestPause pauses;
    pauses.holdNext();
    bool passed = false;
    std::thread worker([&] { platform::pause(5ms); passed = true; });
    pauses.waitUntilHeld();
    EXPECT_FALSE(passed);
    pauses.release();
    worker.join();
    EXPECT_TRUE(passed);
}
