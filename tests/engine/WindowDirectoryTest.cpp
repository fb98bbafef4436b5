#include "platform/WindowDirectory.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

struct Delivery {
    unsigned message = 0;
    std::uintptr_t param = 0;
    std::unique_ptr<LibraryMessage> record;
};

TEST(WindowDirectory, FindsTheEarliestLiveWindowByItsExactTitle)
{
    const auto first = platform::registerWindow("Morvane", [](auto, auto, auto) {});
    const auto second = platform::registerWindow("Morvane", [](auto, auto, auto) {});
    const auto other = platform::registerWindow("Morvane Settings", [](auto, auto, auto) {});

    EXPECT_NE(first, 0u);
    EXPECT_EQ(platform::findWindow("Morvane"), first);
    EXPECT_EQ(platform::findWindow("Morvane Settings"), other);
    EXPECT_EQ(platform::findWindow("morvane"), 0u);
    EXPECT_EQ(platform::findWindow("Morvan"), 0u);

    platform::unregisterWindow(first);
    EXPECT_EQ(platform::findWindow("Morvane"), second);
    platform::unregisterWindow(second);
    platform::unregisterWindow(other);
    EXPECT_EQ(platform::findWindow("Morvane"), 0u);
}

TEST(WindowDirectory, PostingHandsTheRecordToTheReceiver)
{
    std::vector<Delivery> deliveries;
    const auto window = platform::registerWindow(
        "Morvane", [&](unsigned message, std::uintptr_t param, std::unique_ptr<LibraryMessage> record) {
            deliveries.push_back({message, param, std::move(record)});
        });
    auto record = std::make_unique<LibraryMessage>();
    record->statusText = "Zip Files";
    LibraryMessage* const posted = record.get();

    EXPECT_TRUE(platform::postMessage(window, 0xC123, 2, std::move(record)));

    ASSERT_EQ(deliveries.size(), 1u);
    EXPECT_EQ(deliveries[0].message, 0xC123u);
    EXPECT_EQ(deliveries[0].param, 2u);
    EXPECT_EQ(deliveries[0].record.get(), posted);
    EXPECT_EQ(deliveries[0].record->statusText, "Zip Files");
    platform::unregisterWindow(window);
}

// The record is freed by the failed post; the leak checker of the sanitizer build sees it.
TEST(WindowDirectory, PostingToAWindowThatIsGoneFails)
{
    int calls = 0;
    const auto window = platform::registerWindow("Morvane", [&](auto, auto, auto) { ++calls; });
    platform::unregisterWindow(window);

    EXPECT_FALSE(platform::postMessage(window, 0xC000, 2, std::make_unique<LibraryMessage>()));
    EXPECT_FALSE(platform::postMessage(0, 0xC000, 2, std::make_unique<LibraryMessage>()));
    EXPECT_EQ(calls, 0);
}

TEST(WindowDirectory, AReceiverMayRemoveItsOwnWindow)
{
    platform::WindowHandle window = 0;
    int calls = 0;
    window = platform::registerWindow("Morvane", [&](auto, auto, auto) {
        ++calls;
        platform::unregisterWindow(window);
    });

    EXPECT_TRUE(platform::postMessage(window, 0xC000, 2, std::make_unique<LibraryMessage>()));
    EXPECT_FALSE(platform::postMessage(window, 0xC000, 2, std::make_unique<LibraryMessage>()));
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(platform::findWindow("Morvane"), 0u);
}

TEST(WindowDirectory, RemovingAWindowWaitsForADeliveryInProgress)
{
    std::atomic<bool> inReceiver = false;
    std::atomic<bool> letGo = false;
    std::atomic<bool> receiverDone = false;
    const auto window = platform::registerWindow("Morvane", [&](auto, auto, auto) {
        inReceiver = true;
        while (!letGo)
            std::this_thread::yield();
        receiverDone = true;
    });
    std::thread poster([&] { platform::postMessage(window, 0xC000, 2, std::make_unique<LibraryMessage>()); });
    while (!inReceiver)
        std::this_thread::yield();

    std::atomic<bool> removed = false;
    std::thread remover([&] {
        platform::unregisterWindow(window);
        removed = true;
        EXPECT_TRUE(receiverDone);
    });
    for (int i = 0; i < 10000; ++i) {
        ASSERT_FALSE(removed);
        std::this_thread::yield();
    }
    letGo = true;
    remover.join();
    poster.join();
    EXPECT_TRUE(removed);
}

TEST(WindowDirectory, AMessageNameAlwaysGivesTheSameIdentifier)
{
    const unsigned progress = platform::registerWindowMessage(LibraryMessageName);
    const unsigned checkbox = platform::registerWindowMessage("WM_LISTCTRLPACKAGE_CHECKBOX_CLICKED");

    EXPECT_NE(progress, 0u);
    EXPECT_NE(progress, checkbox);
    EXPECT_EQ(platform::registerWindowMessage(LibraryMessageName), progress);
    EXPECT_EQ(platform::registerWindowMessage("WM_LISTCTRLPACKAGE_CHECKBOX_CLICKED"), checkbox);
}

} // namespace
