#pragma once

#include <array>
#include <cstdint>

// One route as a snapshot keeps it: the numbers and raw addresses its texts
// are made from, about 60 bytes, so a table of 200 000 routes is cheap to
// read and to hold; RouteSnapshot writes the texts of the rows asked for.
struct RouteEntry {
    // Form of the gateway.
    enum Gateway : std::uint8_t { NoGateway, GatewayAddress, GatewayLink };
    static constexpr std::uint8_t NoMask = 0xff;

    std::array<std::uint8_t, 16> destination{}; // 4 bytes (IPv4) or 16
    std::array<std::uint8_t, 16> gateway{};     // same family as destination; or the link index
    std::uint32_t flags = 0;
    std::uint32_t index = 0; // outgoing interface; for a record kept as texts, its position
    std::int32_t refs = -1;
    std::int32_t use = -1;
    std::int32_t expire = -1;
    std::int32_t mtu = -1;
    std::uint8_t family = 0; // routefamily::Inet or Inet6; 0: kept as texts
    std::uint8_t prefix = NoMask;
    std::uint8_t gatewayKind = NoGateway;
    std::uint8_t gatewayFamily = 0;
};
