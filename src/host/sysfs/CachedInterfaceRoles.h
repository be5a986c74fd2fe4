#pragma once

#include "host/sysfs/InterfaceRoles.h"

#include <QMetaObject>
#include <QPointer>

#include <cstdint>
#include <mutex>
#include <optional>

class NetlinkMonitor;

// The interface roles with the automatic choice kept until the kernel
// reports a link change: looking through sysfs costs a listing and several
// reads per interface, which grows with every veth or bridge on the
// machine, while the roles only change on hotplug or rename. The settings
// are still read on every call, so a new choice applies at once. Without a
// listening monitor nothing is cached. Safe to use from any thread.
class CachedInterfaceRoles : public InterfaceRoles {
public:
    CachedInterfaceRoles(NetlinkMonitor* monitor, std::string sysRoot = "/");
    ~CachedInterfaceRoles() override;
    CachedInterfaceRoles(const CachedInterfaceRoles&) = delete;
    CachedInterfaceRoles& operator=(const CachedInterfaceRoles&) = delete;

    std::string wifiInterface() const override;
    std::string cellularInterface() const override;

    // Drops the cached choice; the next call looks again.
    void invalidate();

private:
    Detected detected() const;

    QPointer<NetlinkMonitor> m_monitor;
    QMetaObject::Connection m_connection;
    mutable std::mutex m_mutex;
    mutable std::optional<Detected> m_cache;
    mutable std::uint64_t m_generation = 0;
};
