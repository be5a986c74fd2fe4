#include "screens/common/QtRepeatingTimer.h"

QtRepeatingTimer::QtRepeatingTimer()
{
    m_timer.setSingleShot(false);
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
        // Copy: the handler may invalidate this timer or replace the handler.
        const std::function<void()> tick = m_tick;
        if (tick)
            tick();
    });
}

void QtRepeatingTimer::start(std::chrono::milliseconds interval, std::function<void()> tick)
{
    m_tick = std::move(tick);
    m_timer.start(interval);
}

void QtRepeatingTimer::invalidate()
{
    m_timer.stop();
    m_tick = nullptr;
}
