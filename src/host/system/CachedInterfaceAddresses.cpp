#include "host/system/CachedInterfaceAddresses.h"

#include "host/netlink/NetlinkMonitor.h"

CachedInterfaceAddresses::CachedInterfaceAddresses(std::shared_ptr<InterfaceAddresses> source,
                                                   NetlinkMonitor* monitor)
    : m_source(std::move(source)), m_monitor(monitor)
{
    if (!monitor)
        return;
    // Flags and hardware addresses come with link messages, IP addresses
    // with address messages.
    m_links =
        QObject::connect(monitor, &NetlinkMonitor::linksChanged, monitor, [this] { invalidate(); });
    m_addresses = QObject::connect(monitor, &NetlinkMonitor::addressesChanged, monitor,
                                   [this] { invalidate(); });
}

CachedInterfaceAddresses::~CachedInterfaceAddresses()
{
    QObject::disconnect(m_links);
    QObject::disconnect(m_addresses);
}

void CachedInterfaceAddresses::invalidate()
{
    std::lock_guard lock(m_mutex);
    m_cache.reset();
    ++m_generation;
}

std::optional<std::vector<InterfaceAddress>> CachedInterfaceAddresses::list()
{
    const NetlinkMonitor* monitor = m_monitor.data();
    if (!monitor || !monitor->isListening())
        return m_source->list();
    std::uint64_t generation;
    {
        std::lock_guard lock(m_mutex);
        if (m_cache)
            return m_cache;
        generation = m_generation;
    }
    auto fresh = m_source->list(); // outside the lock: a dump of every link
    std::lock_guard lock(m_mutex);
    // A change reported while reading makes this list stale: use it once.
    if (fresh && generation == m_generation)
        m_cache = fresh;
    return fresh;
}
