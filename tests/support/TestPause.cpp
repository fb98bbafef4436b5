#include "TestPause.h"

namespace testsupport {

TestPause::TestPause()
    : m_previous(platform::setPauseHandler([this](std::chrono::milliseconds d) { onPause(d); }))
{
}

TestPause::~TestPause()
{
    release();
    platform::setPauseHandler(m_previous);
}

std::vector<std::chrono::milliseconds> TestPause::pauses() const
{
    std::lock_guard lock(m_mutex);
    return m_pauses;
}

void TestPause::holdNext()
{
    std::lock_guard lock(m_mutex);
    m_holdNext = true;
}

void TestPause::waitUntilHeld()
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_holding; });
}

void TestPause::release()
{
    std::lock_guard lock(m_mutex);
    m_holdNext = false;
    m_holding = false;
    m_changed.notify_all();
}

void TestPause::onPause(std::chrono::milliseconds duration)
{
    std::unique_lock lock(m_mutex);
    m_pauses.push_back(duration);
    if (!m_holdNext)
        return;
    m_holdNext = false;
    m_holding = true;
    m_changed.notify_all();
    m_changed.wait(lock, [this] { return !m_holding; });
}

} // namespace testsupport
