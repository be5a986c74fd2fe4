#pragma once
// Builders of synthetic kernel routes in the BSD socket-address layout.

#include "host/RouteRecord.h"

#include <arpa/inet.h>
#include <cstring>
#include <initializer_list>
#include <string>

namespace routebuild {

using namespace sockaddrlayout;

inline RouteSockaddr inet(const char* dotted, std::uint8_t len = InSize)
{
    RouteSockaddr sa;
    sa.bytes[0] = len;
    sa.bytes[1] = routefamily::Inet;
    in_addr a{};
    inet_pton(AF_INET, dotted, &a);
    std::memcpy(&sa.bytes[InAddr], &a, 4);
    return sa;
}

inline RouteSockaddr inet6(const char* text, std::uint8_t len = In6Size)
{
    RouteSockaddr sa;
    sa.bytes[0] = len;
    sa.bytes[1] = routefamily::Inet6;
    inet_pton(AF_INET6, text, &sa.bytes[In6Addr]);
    return sa;
}

// An IPv6 mask of prefix bits.
inline RouteSockaddr inet6Mask(int prefix)
{
    RouteSockaddr sa;
    sa.bytes[0] = In6Size;
    sa.bytes[1] = routefamily::Inet6;
    for (int i = 0; i < prefix; ++i)
        sa.bytes[In6Addr + i / 8] |= std::uint8_t(0x80 >> (i % 8));
    return sa;
}

inline RouteSockaddr link(std::uint16_t index, std::uint8_t type = 0, const std::string& name = {},
                          std::initializer_list<std::uint8_t> address = {})
{
    RouteSockaddr sa;
    sa.bytes[1] = routefamily::Link;
    std::memcpy(&sa.bytes[DlIndex], &index, 2);
    sa.bytes[DlType] = type;
    sa.bytes[DlNlen] = std::uint8_t(name.size());
    sa.bytes[DlAlen] = std::uint8_t(address.size());
    int pos = DlData;
    for (char c : name)
        sa.bytes[pos++] = std::uint8_t(c);
    for (std::uint8_t b : address)
        sa.bytes[pos++] = b;
    sa.bytes[0] = std::uint8_t(std::max(pos, int(DlSize)));
    return sa;
}

inline RouteSockaddr raw(std::uint8_t family, std::initializer_list<std::uint8_t> data)
{
    RouteSockaddr sa;
    sa.bytes[0] = std::uint8_t(2 + data.size());
    sa.bytes[1] = family;
    int pos = 2;
    for (std::uint8_t b : data)
        sa.bytes[pos++] = b;
    return sa;
}

// A route with destination, optional gateway and mask (pass a
// zero-length address for "absent").
inline RouteRecord route(const RouteSockaddr& destination, const RouteSockaddr* gateway,
                         const RouteSockaddr* mask, std::uint32_t flags, std::uint32_t index = 0)
{
    RouteRecord r;
    r.flags = flags;
    r.index = index;
    r.sa[RouteRecord::Destination] = destination;
    r.addrs = 1u << RouteRecord::Destination;
    if (gateway) {
        r.sa[RouteRecord::GatewaySlot] = *gateway;
        r.addrs |= 1u << RouteRecord::GatewaySlot;
    }
    if (mask) {
        r.sa[RouteRecord::Netmask] = *mask;
        r.addrs |= 1u << RouteRecord::Netmask;
    }
    return r;
}

} // namespace routebuild
