#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

// One kernel route in the shape the routing-table logic reads: a header of
// numbers plus up to three socket addresses in the classic BSD layout (length
// byte, family byte, then the family's fields), so the rules that depend on
// address lengths and on absent addresses work on Linux routes unchanged.
// Families use the BSD numbering the display logic is written for.
namespace routefamily {
constexpr std::uint8_t Inet = 2;
constexpr std::uint8_t Link = 18;
constexpr std::uint8_t Ipx = 23;
constexpr std::uint8_t Inet6 = 30;
} // namespace routefamily

namespace routeflag {
constexpr std::uint32_t Up = 0x1;
constexpr std::uint32_t Gateway = 0x2;
constexpr std::uint32_t Host = 0x4;
constexpr std::uint32_t Reject = 0x8;
constexpr std::uint32_t Dynamic = 0x10;
constexpr std::uint32_t Modified = 0x20;
constexpr std::uint32_t Static = 0x800;
constexpr std::uint32_t Blackhole = 0x1000;
constexpr std::uint32_t PrCloning = 0x10000;
constexpr std::uint32_t WasCloned = 0x20000;
constexpr std::uint32_t Broadcast = 0x400000;
constexpr std::uint32_t Multicast = 0x800000;
} // namespace routeflag

// Routing tables. A BSD kernel has one, which is the main table here.
namespace routetable {
constexpr std::uint32_t Main = 254; // RT_TABLE_MAIN, where `ip route` adds and shows routes
} // namespace routetable

// Byte offsets inside the socket-address layouts.
namespace sockaddrlayout {
constexpr int InAddr = 4;  // sockaddr_in: len, family, port[2], addr[4]
constexpr int InSize = 16; // sizeof(sockaddr_in)
constexpr int In6Addr = 8; // sockaddr_in6: len, family, port[2], flow[4], addr[16], scope[4]
constexpr int In6Scope = 24;
constexpr int In6Size = 28; // sizeof(sockaddr_in6)
constexpr int DlIndex = 2;  // sockaddr_dl: len, family, index[2], type, nlen, alen, slen, data
constexpr int DlType = 4;
constexpr int DlNlen = 5;
constexpr int DlAlen = 6;
constexpr int DlSlen = 7;
constexpr int DlData = 8;
constexpr int DlSize = 20;
constexpr int EtherType = 6; // IFT_ETHER
} // namespace sockaddrlayout

// A socket address; bytes[0] is its length and bytes[1] its family. Every
// layout above fits with room to spare; a longer length reads as capped.
struct RouteSockaddr {
    static constexpr int Capacity = 128;
    std::array<std::uint8_t, Capacity> bytes{};

    std::uint8_t len() const { return bytes[0]; }
    std::uint8_t family() const { return bytes[1]; }
};

struct RouteRecord {
    // Address slots in kernel order: 0 destination, 1 gateway, 2 netmask.
    enum Slot { Destination = 0, GatewaySlot = 1, Netmask = 2, SlotCount = 3 };

    std::uint32_t flags = 0;       // routeflag bits
    std::uint32_t parentflags = 0; // flags of the route this one was cloned from
    std::uint32_t addrs = 0;       // bit i set: slot i is present
    std::uint32_t index = 0;       // outgoing interface; 0 = none
    std::int32_t refcnt = -1;      // -1: the kernel gave none
    std::int32_t use = -1;
    std::uint32_t mtu = 0;   // 0: no MTU
    std::int64_t expire = 0; // calendar seconds; 0: never
    std::uint32_t table = routetable::Main;
    std::uint32_t priority = 0; // the metric; the lowest wins among equal destinations
    std::uint8_t tos = 0;       // IPv4 type of service, part of a route's identity
    std::array<RouteSockaddr, SlotCount> sa{};

    bool has(Slot s) const { return addrs & (1u << s); }
};

// The socket addresses a Linux route is made of: an address of family
// (routefamily::Inet or Inet6; absent bytes stay zero), the mask of a prefix
// length, and a link (a direct route's "gateway").
inline RouteSockaddr makeRouteAddress(std::uint8_t family, const std::uint8_t* bytes,
                                      std::size_t size)
{
    using namespace sockaddrlayout;
    RouteSockaddr sa;
    const bool v4 = family == routefamily::Inet;
    sa.bytes[0] = v4 ? InSize : In6Size;
    sa.bytes[1] = family;
    if (bytes)
        std::memcpy(&sa.bytes[v4 ? InAddr : In6Addr], bytes,
                    std::min<std::size_t>(size, v4 ? 4 : 16));
    return sa;
}

inline RouteSockaddr makeRouteMask(std::uint8_t family, int prefix)
{
    std::uint8_t mask[16] = {};
    prefix = std::clamp(prefix, 0, 128);
    std::memset(mask, 0xff, std::size_t(prefix / 8));
    if (prefix % 8)
        mask[prefix / 8] = std::uint8_t(0xff00 >> (prefix % 8));
    return makeRouteAddress(family, mask, 16);
}

inline RouteSockaddr makeRouteLink(std::uint32_t index)
{
    using namespace sockaddrlayout;
    RouteSockaddr sa;
    sa.bytes[0] = DlSize;
    sa.bytes[1] = routefamily::Link;
    sa.bytes[DlIndex] = std::uint8_t(index);
    sa.bytes[DlIndex + 1] = std::uint8_t(index >> 8);
    return sa;
}
