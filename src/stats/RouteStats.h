#pragma once

#include "host/RouteDump.h"
#include "stats/JobGroup.h"
#include "stats/RouteGroup.h"
#include "stats/SnapshotCell.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

// Snapshot of the kernel routing table, grouped by address family, and the
// gateway of the last default route. A refresh builds a whole new snapshot and
// publishes it at once; refreshes run one at a time, readers never wait for one.
class RouteStats {
public:
    using Clock = std::function<std::int64_t()>; // calendar seconds

    struct Snapshot {
        std::vector<RouteGroup> routeArray;
        std::string default_gateway = "N/A";
    };

    static RouteStats& instance();

    explicit RouteStats(std::shared_ptr<RouteDump> dump, Clock clock = {});
    ~RouteStats(); // waits for its Async refresh still queued or running
    RouteStats(const RouteStats&) = delete;
    RouteStats& operator=(const RouteStats&) = delete;

    // Replaces routeArray and default_gateway with a new reading; a failed
    // reading leaves no groups and "N/A".
    void refresh();
    // Queues refresh() on the snapshot worker and returns at once.
    void refreshAsync();
    void waitForAsync();

    // The whole reading; a reader of many routes holds this instead of copying.
    std::shared_ptr<const Snapshot> snapshot() const { return m_snapshot.load(); }
    std::vector<RouteGroup> routeArray() const { return snapshot()->routeArray; }
    std::string default_gateway() const { return snapshot()->default_gateway; }
    void setDefault_gateway(const std::string& gateway);

    static std::string groupName(int family);

private:
    struct Build {
        Snapshot snapshot;
        int currentFamily = 0;
    };
    // Converts one kernel route and appends it to the last group (starting
    // a new group when its family differs from the previous route's).
    void np_rtentry(const RouteRecord& record, Build& build) const;

    std::shared_ptr<RouteDump> m_dump;
    Clock m_clock;
    std::mutex m_refreshMutex; // one dump at a time through m_dump
    SnapshotCell<Snapshot> m_snapshot;
    JobGroup m_jobs; // last: its destructor waits for jobs that use the fields above
};
