#include "stats/RouteSnapshot.h"

#include "stats/RouteAddressText.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace {

// a is b as far as the texts read: destinations and masks up to their own
// length (the rest reads as zero), gateways of these families no further.
bool same(const RouteSockaddr& a, const RouteSockaddr& made)
{
    return std::memcmp(a.bytes.data(), made.bytes.data(), made.len()) == 0;
}

int addressSize(std::uint8_t family)
{
    return family == routefamily::Inet ? 4 : 16;
}

const std::uint8_t* addressOf(const RouteSockaddr& sa)
{
    return &sa.bytes[sa.family() == routefamily::Inet ? sockaddrlayout::InAddr
                                                      : sockaddrlayout::In6Addr];
}

bool isInternet(std::uint8_t family)
{
    return family == routefamily::Inet || family == routefamily::Inet6;
}

// The address of sa when sa is exactly what makeRouteAddress would make of it.
bool takeAddress(const RouteSockaddr& sa, std::array<std::uint8_t, 16>& out)
{
    if (!isInternet(sa.family()))
        return false;
    const int size = addressSize(sa.family());
    std::memcpy(out.data(), addressOf(sa), std::size_t(size));
    return same(sa, makeRouteAddress(sa.family(), out.data(), std::size_t(size)));
}

// The prefix length of a mask made by makeRouteMask; -1 for any other mask.
int takePrefix(const RouteSockaddr& mask, std::uint8_t family)
{
    if (mask.family() != family)
        return -1;
    const std::uint8_t* a = addressOf(mask);
    int prefix = 0;
    for (int i = 0; i < addressSize(family); ++i)
        prefix += std::countl_one(a[i]);
    return same(mask, makeRouteMask(family, prefix)) ? prefix : -1;
}

// An address as its area of the record: zero beyond its own length.
RouteSockaddr areaOf(const RouteSockaddr& sa)
{
    RouteSockaddr area;
    std::memcpy(area.bytes.data(), sa.bytes.data(),
                std::min<std::size_t>(sa.len(), RouteSockaddr::Capacity));
    return area;
}

// Fills the compact fields of e from r when they say all its texts need
// (the destination's family, address and mask, the gateway's address or
// link); false otherwise.
bool compact(const RouteRecord& r, RouteEntry& e)
{
    if (!r.has(RouteRecord::Destination))
        return false;
    const RouteSockaddr& destination = r.sa[RouteRecord::Destination];
    if (!takeAddress(destination, e.destination))
        return false;
    e.family = destination.family();
    if (r.has(RouteRecord::Netmask)) {
        const int prefix = takePrefix(r.sa[RouteRecord::Netmask], e.family);
        if (prefix < 0)
            return false;
        e.prefix = std::uint8_t(prefix);
    }
    if (!r.has(RouteRecord::GatewaySlot))
        return true;
    const RouteSockaddr& gateway = r.sa[RouteRecord::GatewaySlot];
    if (gateway.family() == routefamily::Link) {
        e.gatewayKind = RouteEntry::GatewayLink;
        e.gateway[0] = gateway.bytes[sockaddrlayout::DlIndex];
        e.gateway[1] = gateway.bytes[sockaddrlayout::DlIndex + 1];
        return same(gateway, makeRouteLink(e.gateway[0] | std::uint32_t(e.gateway[1]) << 8));
    }
    e.gatewayKind = RouteEntry::GatewayAddress;
    e.gatewayFamily = gateway.family();
    return takeAddress(gateway, e.gateway);
}

} // namespace

std::string RouteSnapshot::groupName(int family)
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

const std::string& RouteSnapshot::sectionName(std::size_t section) const
{
    return m_sections.at(section).name;
}

std::size_t RouteSnapshot::rowCount(std::size_t section) const
{
    return m_sections.at(section).count;
}

const RouteEntry& RouteSnapshot::entry(std::size_t section, std::size_t row) const
{
    return m_entries[m_sections[section].first + row];
}

const std::string& RouteSnapshot::interfaceName(std::uint32_t index) const
{
    static const std::string none;
    for (const auto& [i, name] : m_names)
        if (i == index)
            return name;
    return none;
}

RouteInfo RouteSnapshot::route(std::size_t section, std::size_t row) const
{
    if (row >= rowCount(section))
        return {};
    const RouteEntry& e = entry(section, row);
    if (e.family == 0)
        return m_asTexts.at(e.index);
    RouteInfo info;
    const int size = addressSize(e.family);
    // An absent mask reads as an all-zero one.
    const RouteSockaddr mask =
        e.prefix == RouteEntry::NoMask ? RouteSockaddr{} : makeRouteMask(e.family, e.prefix);
    info.destination = routetext::addressText(
        makeRouteAddress(e.family, e.destination.data(), std::size_t(size)), &mask, e.flags);
    if (e.gatewayKind == RouteEntry::GatewayAddress)
        info.gateway = routetext::addressText(
            makeRouteAddress(e.gatewayFamily, e.gateway.data(), 16), nullptr, routeflag::Host);
    else if (e.gatewayKind == RouteEntry::GatewayLink)
        info.gateway = routetext::addressText(
            makeRouteLink(std::uint32_t(e.gateway[0]) | std::uint32_t(e.gateway[1]) << 8), nullptr,
            routeflag::Host);
    info.flags = routetext::flagLetters(e.flags);
    if (e.index != 0)
        info.interface = interfaceName(e.index);
    info.refs = e.refs;
    info.use = e.use;
    info.expire = e.expire;
    info.mtu = e.mtu;
    return info;
}

std::vector<RouteGroup> RouteSnapshot::routeArray() const
{
    std::vector<RouteGroup> groups;
    groups.reserve(m_sections.size());
    for (std::size_t s = 0; s < m_sections.size(); ++s) {
        RouteGroup& g = groups.emplace_back();
        g.name = m_sections[s].name;
        g.routeList.reserve(m_sections[s].count);
        for (std::size_t r = 0; r < m_sections[s].count; ++r)
            g.routeList.push_back(route(s, r));
    }
    return groups;
}

RouteSnapshot::Builder::Builder(Names interfaceName, std::function<std::int64_t()> clock,
                                std::size_t expectedRows)
    : m_interfaceName(std::move(interfaceName)), m_clock(std::move(clock))
{
    m_snapshot.m_entries.reserve(expectedRows + expectedRows / 8);
}

void RouteSnapshot::Builder::add(const RouteRecord& r)
{
    // Routes cloned from a protocol-cloning parent are not listed.
    if ((r.flags & routeflag::WasCloned) && (r.parentflags & routeflag::PrCloning))
        return;

    int family = 0;
    for (int slot = 0; slot < RouteRecord::SlotCount; ++slot)
        if (r.has(RouteRecord::Slot(slot))) {
            family = r.sa[slot].family();
            break;
        }
    std::vector<Section>& sections = m_snapshot.m_sections;
    if (family != m_currentFamily || sections.empty()) {
        sections.push_back(Section{groupName(family), m_snapshot.m_entries.size(), 0});
        m_currentFamily = family;
    }
    ++sections.back().count;

    RouteEntry& e = m_snapshot.m_entries.emplace_back();
    e.flags = r.flags;
    e.index = r.index;
    e.refs = r.refcnt;
    e.use = r.use;
    e.mtu = r.mtu == 0 ? -1 : std::int32_t(r.mtu);
    if (r.expire != 0) {
        const std::int64_t left = r.expire - m_clock();
        if (left > 0)
            e.expire = std::int32_t(left);
    }
    // An interface that cannot be named shows empty, not the previous route's.
    if (r.index != 0 && r.index != m_lastIndex &&
        std::none_of(m_snapshot.m_names.begin(), m_snapshot.m_names.end(),
                     [&](const auto& n) { return n.first == r.index; }))
        m_snapshot.m_names.emplace_back(r.index, m_interfaceName(r.index).value_or(""));
    m_lastIndex = r.index;

    if (compact(r, e))
        return;
    // Anything else (no Linux route looks like it) keeps its texts, made now.
    RouteInfo info;
    info.refs = e.refs;
    info.use = e.use;
    info.expire = e.expire;
    info.mtu = e.mtu;
    info.flags = routetext::flagLetters(r.flags);
    if (r.index != 0)
        info.interface = m_snapshot.interfaceName(r.index);
    RouteSockaddr destination, mask;
    if (r.has(RouteRecord::Destination))
        destination = areaOf(r.sa[RouteRecord::Destination]);
    if (r.has(RouteRecord::Netmask))
        mask = areaOf(r.sa[RouteRecord::Netmask]);
    info.destination = routetext::addressText(destination, &mask, r.flags);
    // A route without a gateway address shows an empty gateway.
    if (r.has(RouteRecord::GatewaySlot))
        info.gateway =
            routetext::addressText(r.sa[RouteRecord::GatewaySlot], nullptr, routeflag::Host);
    e.family = 0;
    e.index = std::uint32_t(m_snapshot.m_asTexts.size());
    m_snapshot.m_asTexts.push_back(std::move(info));
}

RouteSnapshot RouteSnapshot::Builder::finish()
{
    // A table that shrank much gives back what it no longer needs.
    if (m_snapshot.m_entries.capacity() > 2 * m_snapshot.m_entries.size() + 1024)
        m_snapshot.m_entries.shrink_to_fit();
    return std::move(m_snapshot);
}
