#include "host/sysfs/LinuxBattery.h"

LinuxBattery::LinuxBattery(std::string root) : m_root(std::move(root))
{
    m_timer.setInterval(kPollMilliseconds);
    connect(&m_timer, &QTimer::timeout, this, &LinuxBattery::poll);
}

float LinuxBattery::level()
{
    return PowerSupply::read(m_root).level;
}

Battery::State LinuxBattery::state()
{
    return PowerSupply::read(m_root).state;
}

void LinuxBattery::setMonitoringEnabled(bool enabled)
{
    if (enabled == m_timer.isActive())
        return;
    if (enabled) {
        // The first poll after switching on compares with this reading, so
        // turning monitoring on does not itself post a change.
        m_last = PowerSupply::read(m_root);
        m_timer.start();
    } else {
        m_timer.stop();
    }
}

void LinuxBattery::poll()
{
    const PowerSupplyReading now = PowerSupply::read(m_root);
    const bool levelMoved = now.level != m_last.level;
    const bool stateMoved = now.state != m_last.state;
    m_last = now;
    if (levelMoved)
        Q_EMIT levelChanged();
    if (stateMoved)
        Q_EMIT stateChanged();
}
