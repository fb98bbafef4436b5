// Replaces the pause facility for the life of the object: pauses are recorded, never slept.
#pragma once

#include "platform/Pause.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

namespace testsupport {

class TestPause {
public:
    TestPause();
    ~TestPause();
    TestPause(const TestPause&) = delete;
    TestPause& operator=(const TestPause&) = delete;

    // The pauses asked for so far, in order.
    std::vector<std::chrono::milliseconds> pauses() const;

    // While held, the next pause blocks its caller until release(); waitUntilHeld() returns
    // once a caller is blocked there.
    void holdNext();
    void waitUntilHeld();
    void release();

private:
    void onPause(std::chrono::milliseconds duration);

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<std::chrono::milliseconds> m_pauses;
    bool m_holdNext = false;
    bool m_holding = false;
    platform::PauseHandler m_previous;
};

} // namespace testsupport
