#include "TestClock.h"

namespace testsupport {

TestClock::TestClock(const platform::LocalTime& now)
    : m_now(now)
{
    m_previous = platform::setClockHandler([this] { return m_now; });
}

TestClock::~TestClock()
{
    platform::setClockHandler(m_previous);
}

void TestClock::set(const platform::LocalTime& now)
{
    m_now = now;
}

} // namespace testsupport
