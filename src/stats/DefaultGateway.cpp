#include "stats/DefaultGateway.h"

#include "stats/RouteAddressText.h"

#include <algorithm>

namespace {

bool sameRoute(const DefaultGateway::Entry& a, const DefaultGateway::Entry& b)
{
    return a.family == b.family && a.priority == b.priority && a.tos == b.tos &&
           a.index == b.index && a.gateway == b.gateway;
}

// What the kernel replaces: one family's route of the same metric and type of service.
bool sameSlot(const DefaultGateway::Entry& a, const DefaultGateway::Entry& b)
{
    return a.family == b.family && a.priority == b.priority && a.tos == b.tos;
}

} // namespace

bool DefaultGateway::isCandidate(const RouteRecord& r)
{
    return isMainDefault(r) && !(r.flags & (routeflag::Reject | routeflag::Blackhole));
}

bool DefaultGateway::isMainDefault(const RouteRecord& r)
{
    using namespace sockaddrlayout;
    if (r.table != routetable::Main || !r.has(RouteRecord::Destination))
        return false;
    const RouteSockaddr& d = r.sa[RouteRecord::Destination];
    int addressBytes;
    int at;
    if (d.family() == routefamily::Inet) {
        addressBytes = 4;
        at = InAddr;
    } else if (d.family() == routefamily::Inet6) {
        addressBytes = 16;
        at = In6Addr;
    } else {
        return false;
    }
    const auto zero = [](const std::uint8_t* p, int n) {
        return std::all_of(p, p + n, [](std::uint8_t b) { return b == 0; });
    };
    // The default route: all-zero destination and mask (an absent mask reads as zero).
    return zero(&d.bytes[at], addressBytes) &&
           (!r.has(RouteRecord::Netmask) ||
            zero(&r.sa[RouteRecord::Netmask].bytes[at], addressBytes));
}

DefaultGateway::Entry DefaultGateway::entryFor(const RouteRecord& r, std::string gatewayText)
{
    Entry e;
    e.family = r.sa[RouteRecord::Destination].family();
    e.priority = r.priority;
    e.tos = r.tos;
    e.index = r.index;
    e.gateway = std::move(gatewayText);
    return e;
}

DefaultGateway::Entry DefaultGateway::entryFor(const RouteRecord& r)
{
    // Written as the route list writes gateways: always as a single host.
    std::string text;
    if (r.has(RouteRecord::GatewaySlot))
        text = routetext::addressText(r.sa[RouteRecord::GatewaySlot], nullptr, routeflag::Host);
    return entryFor(r, std::move(text));
}

void DefaultGateway::apply(const DefaultRouteChange& change)
{
    if (!isMainDefault(change.route))
        return;
    // An unreachable or blackhole default forwards nothing, but still
    // takes the place of the route it replaces.
    const bool forwards = isCandidate(change.route);
    if (!forwards && change.kind != DefaultRouteChange::Kind::Replaced)
        return;
    const Entry entry = entryFor(change.route);
    std::lock_guard lock(m_mutex);
    ++m_sequence;
    if (m_readings > 0)
        m_log.push_back({m_sequence, change.kind, forwards, entry});
    applyLocked(change.kind, forwards, entry);
    choose();
}

void DefaultGateway::applyLocked(DefaultRouteChange::Kind kind, bool add, const Entry& entry)
{
    switch (kind) {
    case DefaultRouteChange::Kind::Removed:
        std::erase_if(m_entries, [&](const Entry& e) { return sameRoute(e, entry); });
        return;
    case DefaultRouteChange::Kind::Replaced:
        std::erase_if(m_entries, [&](const Entry& e) { return sameSlot(e, entry); });
        break;
    case DefaultRouteChange::Kind::Added:
        break;
    }
    if (add && std::none_of(m_entries.begin(), m_entries.end(),
                            [&](const Entry& e) { return sameRoute(e, entry); }))
        m_entries.push_back(entry);
}

std::uint64_t DefaultGateway::beginReading()
{
    std::lock_guard lock(m_mutex);
    ++m_readings;
    return m_sequence;
}

void DefaultGateway::finishReading(std::uint64_t token, std::uint8_t family,
                                   std::vector<Entry> found, bool ok)
{
    std::lock_guard lock(m_mutex);
    if (ok || family == 0) {
        std::erase_if(m_entries, [&](const Entry& e) { return family == 0 || e.family == family; });
        if (ok)
            m_entries.insert(m_entries.end(), std::make_move_iterator(found.begin()),
                             std::make_move_iterator(found.end()));
        for (const Logged& l : m_log)
            if (l.sequence > token)
                applyLocked(l.kind, l.add, l.entry);
    }
    if (--m_readings == 0)
        m_log.clear();
    choose();
}

void DefaultGateway::choose()
{
    // IPv4 first, then the lowest metric; the first reported among equals.
    const auto key = [](const Entry& e) {
        return std::pair(e.family == routefamily::Inet ? 0 : 1, e.priority);
    };
    const auto best =
        std::min_element(m_entries.begin(), m_entries.end(),
                         [&](const Entry& a, const Entry& b) { return key(a) < key(b); });
    m_text = best != m_entries.end() ? best->gateway : "N/A";
}

std::string DefaultGateway::text() const
{
    std::lock_guard lock(m_mutex);
    return m_text;
}

void DefaultGateway::setText(std::string text)
{
    std::lock_guard lock(m_mutex);
    m_text = std::move(text);
}
