#include "host/sysfs/CachedInterfaceRoles.h"

#include "host/netlink/NetlinkMonitor.h"

CachedInterfaceRoles::CachedInterfaceRoles(NetlinkMonitor* monitor, std::string sysRoot)
    : InterfaceRoles(std::move(sysRoot)), m_monitor(monitor)
{
    if (monitor)
        m_connection = QObject::connect(monitor, &NetlinkMonitor::linksChanged, monitor,
                                        [this] { invalidate(); });
}

CachedInterfaceRoles::~CachedInterfaceRoles()
{
    QObject::disconnect(m_connection);
}

void CachedInterfaceRoles::invalidate()
{
    std::lock_guard lock(m_mutex);
    m_cache.reset();
    ++m_generation;
}

InterfaceRoles::Detected CachedInterfaceRoles::detected() const
{
    const NetlinkMonitor* monitor = m_monitor.data();
    if (!monitor || !monitor->isListening())
        return detect();
    std::uint64_t generation;
    {
        std::lock_guard lock(m_mutex);
        if (m_cache)
            return *m_cache;
        generation = m_generation;
    }
    Detected found = detect(); // outside the lock: sysfs can be slow
    std::lock_guard lock(m_mutex);
    // A change reported while looking makes this result stale: use it once,
    // keep nothing.
    if (generation == m_generation)
        m_cache = found;
    return found;
}

std::string CachedInterfaceRoles::wifiInterface() const
{
    if (std::string chosen = setting(WifiKey); !chosen.empty())
        return chosen;
    return detected().wifi;
}

std::string CachedInterfaceRoles::cellularInterface() const
{
    if (std::string chosen = setting(CellularKey); !chosen.empty())
        return chosen;
    return detected().cellular;
}
