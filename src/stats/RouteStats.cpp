#include "stats/RouteStats.h"

#include "host/netlink/LinuxRouteDump.h"
#include "stats/RouteAddressText.h"

#include <algorithm>
#include <cstring>
#include <ctime>

RouteStats& RouteStats::instance()
{
    static RouteStats shared(std::make_shared<LinuxRouteDump>());
    return shared;
}

RouteStats::RouteStats(std::shared_ptr<RouteDump> dump, Clock clock)
    : m_dump(std::move(dump)), m_clock(std::move(clock)), m_jobs(BackgroundWorker::snapshots())
{
    if (!m_clock)
        m_clock = [] { return std::int64_t(std::time(nullptr)); };
}

RouteStats::~RouteStats()
{
    waitForAsync();
}

std::string RouteStats::groupName(int family)
{
    switch (family) {
    case routefamily::Inet:
        return "Internet";
    case routefamily::Inet6:
        return "Internet6";
    case routefamily::Ipx:
        return "IPX";
    default:
        return "Protocol Family " + std::to_string(family);
    }
}

void RouteStats::refresh()
{
    std::lock_guard lock(m_refreshMutex);
    Build build;
    if (!m_dump->dump([&](const RouteRecord& r) { np_rtentry(r, build); }))
        build.snapshot = Snapshot{};
    m_snapshot.store(std::move(build.snapshot));
}

void RouteStats::refreshAsync()
{
    m_jobs.post([this] { refresh(); });
}

void RouteStats::waitForAsync()
{
    m_jobs.wait();
}

void RouteStats::setDefault_gateway(const std::string& gateway)
{
    m_snapshot.update([&gateway](Snapshot& s) { s.default_gateway = gateway; });
}

namespace {
// The address as its area of the record: zero beyond its own length.
void copyArea(RouteSockaddr& area, const RouteSockaddr& sa)
{
    const std::size_t len = std::min<std::size_t>(sa.len(), RouteSockaddr::Capacity);
    std::memcpy(area.bytes.data(), sa.bytes.data(), len);
}
} // namespace

void RouteStats::np_rtentry(const RouteRecord& r, Build& build) const
{
    if ((r.flags & routeflag::WasCloned) && (r.parentflags & routeflag::PrCloning))
        return;

    int family = 0;
    for (int slot = 0; slot < RouteRecord::SlotCount; ++slot)
        if (r.has(RouteRecord::Slot(slot))) {
            family = r.sa[slot].family();
            break;
        }
    std::vector<RouteGroup>& groups = build.snapshot.routeArray;
    if (family != build.currentFamily || groups.empty()) {
        groups.push_back(RouteGroup{groupName(family), {}});
        build.currentFamily = family;
    }

    RouteSockaddr destination, mask;
    if (r.has(RouteRecord::Destination))
        copyArea(destination, r.sa[RouteRecord::Destination]);
    if (r.has(RouteRecord::Netmask))
        copyArea(mask, r.sa[RouteRecord::Netmask]);

    RouteInfo info;
    info.destination = routetext::addressText(destination, &mask, r.flags);
    // A route without a gateway address shows an empty gateway.
    if (r.has(RouteRecord::GatewaySlot))
        info.gateway =
            routetext::addressText(r.sa[RouteRecord::GatewaySlot], nullptr, routeflag::Host);
    if (info.destination == "default")
        build.snapshot.default_gateway = info.gateway;
    info.flags = routetext::flagLetters(r.flags);
    info.refs = r.refcnt;
    info.use = r.use;
    info.mtu = r.mtu == 0 ? -1 : std::int32_t(r.mtu);
    // An interface that cannot be named shows empty, not the previous route's.
    if (r.index != 0)
        if (auto name = m_dump->interfaceName(r.index))
            info.interface = std::move(*name);
    if (r.expire != 0) {
        const std::int64_t left = r.expire - m_clock();
        if (left > 0)
            info.expire = std::int32_t(left);
    }
    groups.back().routeList.push_back(std::move(info));
}
