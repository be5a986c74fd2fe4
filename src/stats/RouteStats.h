#pragma once

#include "host/RouteDump.h"
#include "stats/DefaultGateway.h"
#include "stats/JobGroup.h"
#include "stats/RouteGroup.h"
#include "stats/RouteSnapshot.h"
#include "stats/SnapshotCell.h"

#include <QMetaObject>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class NetlinkMonitor;

// Snapshot of the kernel routing table, grouped by address family, and the
// default gateway (see DefaultGateway). A refresh builds a whole new snapshot
// and publishes it at once; refreshes run one at a time, readers never wait
// for one. Given a change monitor, the default gateway follows the kernel's
// route messages between refreshes; the table is read again for it only
// when messages were lost, and its IPv4 part when a link or address changed
// (the kernel drops IPv4 routes of a vanished link or address without a
// message).
class RouteStats {
public:
    using Clock = std::function<std::int64_t()>; // calendar seconds

    using Snapshot = RouteSnapshot;

    static RouteStats& instance();

    explicit RouteStats(std::shared_ptr<RouteDump> dump, Clock clock = {},
                        NetlinkMonitor* monitor = nullptr);
    ~RouteStats(); // waits for its Async refresh still queued or running
    RouteStats(const RouteStats&) = delete;
    RouteStats& operator=(const RouteStats&) = delete;

    // Replaces routeArray and the default routes with a new reading; a
    // failed reading leaves no groups and "N/A".
    void refresh();
    // Queues refresh() on the snapshot worker and returns at once.
    void refreshAsync();
    void waitForAsync();

    // The whole reading; a reader of many routes holds this and asks it for
    // the texts of the rows it shows.
    std::shared_ptr<const Snapshot> snapshot() const { return m_snapshot.load(); }
    // Every route's texts at once: costly for a large table.
    std::vector<RouteGroup> routeArray() const { return snapshot()->routeArray(); }
    std::string default_gateway() const { return m_gateway.text(); }
    void setDefault_gateway(const std::string& gateway) { m_gateway.setText(gateway); }

    static std::string groupName(int family) { return RouteSnapshot::groupName(family); }

private:
    struct Build {
        RouteSnapshot::Builder snapshot;
        std::vector<DefaultGateway::Entry> defaults;
    };
    // Takes one kernel route into the snapshot being built (a new group
    // when its family differs from the previous route's).
    static void np_rtentry(const RouteRecord& record, Build& build);
    // Queues a reading of the main table's default routes of family (0: both).
    void readGatewayAsync(std::uint8_t family);
    void readGateway(std::uint8_t family);

    std::shared_ptr<RouteDump> m_dump;
    Clock m_clock;
    std::mutex m_refreshMutex; // one dump at a time through m_dump
    SnapshotCell<Snapshot> m_snapshot;
    DefaultGateway m_gateway;
    std::atomic<std::uint8_t> m_gatewayReadsQueued{0}; // bit 0: IPv4, bit 1: IPv6
    std::vector<QMetaObject::Connection> m_connections;
    JobGroup m_jobs; // last: its destructor waits for jobs that use the fields above
};
