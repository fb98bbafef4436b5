// Fixes the local date and time the system reads for the life of the object.
#pragma once

#include "platform/Clock.h"

namespace testsupport {

class TestClock {
public:
    explicit TestClock(const platform::LocalTime& now);
    ~TestClock();
    TestClock(const TestClock&) = delete;
    TestClock& operator=(const TestClock&) = delete;

    void set(const platform::LocalTime& now);

private:
    platform::LocalTime m_now;
    platform::ClockHandler m_previous;
};

} // namespace testsupport
