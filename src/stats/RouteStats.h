#pragma once

#include "host/RouteDump.h"
#include "stats/RouteGroup.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// Snapshot of the kernel routing table, grouped by address family, and the
// gateway of the last default route. Not thread-safe: one refresh at a time.
class RouteStats {
public:
    using Clock = std::function<std::int64_t()>; // calendar seconds

    static RouteStats& instance();

    explicit RouteStats(std::shared_ptr<RouteDump> dump, Clock clock = {});

    // Replaces routeArray and default_gateway with a new reading; a failed
    // reading leaves no groups and "N/A".
    void refresh();

    // Converts one kernel route and appends it to the last group (starting
    // a new group when its family differs from the previous route's).
    void np_rtentry(const RouteRecord& record);

    const std::vector<RouteGroup>& routeArray() const { return m_routeArray; }
    const std::string& default_gateway() const { return m_defaultGateway; }
    void setDefault_gateway(const std::string& gateway) { m_defaultGateway = gateway; }

    static std::string groupName(int family);

private:
    std::shared_ptr<RouteDump> m_dump;
    Clock m_clock;
    std::vector<RouteGroup> m_routeArray;
    std::string m_defaultGateway = "N/A";
    int m_currentFamily = 0;
};
