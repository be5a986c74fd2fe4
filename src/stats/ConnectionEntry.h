#pragma once

#include <array>
#include <cstdint>

// One socket as a snapshot keeps it: the numbers its texts are made from,
// 44 bytes, so 60 000 sockets are cheap to read and to hold;
// ConnectionSnapshot writes the texts of the rows asked for.
struct ConnectionEntry {
    static constexpr std::int16_t NotTcp = -1;

    std::array<std::uint8_t, 16> local{}; // IPv6, or IPv4 in the first 4 bytes (network order)
    std::array<std::uint8_t, 16> remote{};
    std::uint16_t localPort = 0; // host byte order
    std::uint16_t remotePort = 0;
    std::int16_t state = NotTcp; // TCP state number
    std::uint16_t tcpFlags = 0;  // the NeedSyn and NeedFin bits
    bool ipv4 = false;           // written as IPv4 (the IPv4 bit wins over IPv6)
};
