#include "stats/RouteStats.h"

#include "host/netlink/LinuxRouteDump.h"
#include "host/netlink/NetlinkMonitor.h"
#include "stats/RouteAddressText.h"

#include <QObject>

#include <algorithm>
#include <cstring>
#include <ctime>

RouteStats& RouteStats::instance()
{
    static RouteStats shared(std::make_shared<LinuxRouteDump>(), {}, &NetlinkMonitor::instance());
    return shared;
}

RouteStats::RouteStats(std::shared_ptr<RouteDump> dump, Clock clock, NetlinkMonitor* monitor)
    : m_dump(std::move(dump)), m_clock(std::move(clock)), m_jobs(BackgroundWorker::snapshots())
{
    if (!m_clock)
        m_clock = [] { return std::int64_t(std::time(nullptr)); };
    if (!monitor)
        return;
    m_connections = {
        QObject::connect(monitor, &NetlinkMonitor::defaultRouteChanged, monitor,
                         [this](const DefaultRouteChange& c) { m_gateway.apply(c); }),
        QObject::connect(monitor, &NetlinkMonitor::routeMessagesLost, monitor,
                         [this] { readGatewayAsync(0); }),
        QObject::connect(monitor, &NetlinkMonitor::linksChanged, monitor,
                         [this] { readGatewayAsync(routefamily::Inet); }),
        QObject::connect(monitor, &NetlinkMonitor::addressesChanged, monitor,
                         [this] { readGatewayAsync(routefamily::Inet); }),
    };
}

RouteStats::~RouteStats()
{
    for (const QMetaObject::Connection& c : m_connections)
        QObject::disconnect(c);
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
    const std::uint64_t token = m_gateway.beginReading();
    Build build;
    const bool ok = m_dump->dump([&](const RouteRecord& r) {
        np_rtentry(r, build);
        if (DefaultGateway::isCandidate(r))
            build.defaults.push_back(DefaultGateway::entryFor(r));
    });
    if (!ok)
        build = Build{};
    m_snapshot.store(std::move(build.snapshot));
    m_gateway.finishReading(token, 0, std::move(build.defaults), ok);
}

void RouteStats::readGatewayAsync(std::uint8_t family)
{
    // Bursts of link messages queue one reading per family, not one each.
    const std::uint8_t bits = family == routefamily::Inet    ? 1
                              : family == routefamily::Inet6 ? 2
                                                             : 3;
    if ((m_gatewayReadsQueued.fetch_or(bits) & bits) == bits)
        return;
    m_jobs.post([this, family, bits] {
        m_gatewayReadsQueued.fetch_and(std::uint8_t(~bits));
        readGateway(family);
    });
}

void RouteStats::readGateway(std::uint8_t family)
{
    std::lock_guard lock(m_refreshMutex);
    const std::uint64_t token = m_gateway.beginReading();
    std::vector<DefaultGateway::Entry> found;
    const bool ok = m_dump->dumpMainTable(family, [&](const RouteRecord& r) {
        if (DefaultGateway::isCandidate(r) &&
            (family == 0 || r.sa[RouteRecord::Destination].family() == family))
            found.push_back(DefaultGateway::entryFor(r));
    });
    m_gateway.finishReading(token, family, std::move(found), ok);
}

void RouteStats::refreshAsync()
{
    m_jobs.post([this] { refresh(); });
}

void RouteStats::waitForAsync()
{
    m_jobs.wait();
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
