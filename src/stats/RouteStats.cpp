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

void RouteStats::refresh()
{
    std::lock_guard lock(m_refreshMutex);
    const std::uint64_t token = m_gateway.beginReading();
    Build build{{[this](std::uint32_t index) { return m_dump->interfaceName(index); }, m_clock,
                 m_snapshot.load()->totalRows()},
                {}};
    const bool ok = m_dump->dump([&](const RouteRecord& r) { np_rtentry(r, build); });
    m_snapshot.store(ok ? build.snapshot.finish() : RouteSnapshot{});
    m_gateway.finishReading(token, 0, ok ? std::move(build.defaults) : decltype(build.defaults){},
                            ok);
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

void RouteStats::np_rtentry(const RouteRecord& r, Build& build)
{
    build.snapshot.add(r);
    if (DefaultGateway::isCandidate(r))
        build.defaults.push_back(DefaultGateway::entryFor(r));
}
