#pragma once

#include "host/InterfaceAddresses.h"

#include <QMetaObject>
#include <QPointer>

#include <cstdint>
#include <memory>
#include <mutex>

class NetlinkMonitor;

// The interface address list kept until the kernel reports a link or
// address change. getifaddrs dumps every link with its statistics, which
// with hundreds of veth or bridge ports costs more than the rest of the
// Overview's tick, while the list itself only changes on those messages.
// A failed read is not kept; without a listening monitor every call reads.
// Safe to use from any thread.
class CachedInterfaceAddresses : public InterfaceAddresses {
public:
    CachedInterfaceAddresses(std::shared_ptr<InterfaceAddresses> source, NetlinkMonitor* monitor);
    ~CachedInterfaceAddresses() override;
    CachedInterfaceAddresses(const CachedInterfaceAddresses&) = delete;
    CachedInterfaceAddresses& operator=(const CachedInterfaceAddresses&) = delete;

    std::optional<std::vector<InterfaceAddress>> list() override;

    // Drops the kept list; the next call reads again.
    void invalidate();

private:
    std::shared_ptr<InterfaceAddresses> m_source;
    QPointer<NetlinkMonitor> m_monitor;
    QMetaObject::Connection m_links, m_addresses;
    std::mutex m_mutex;
    std::optional<std::vector<InterfaceAddress>> m_cache;
    std::uint64_t m_generation = 0;
};
