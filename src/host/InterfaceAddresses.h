#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// One entry of the interface address list, as getifaddrs gives it.
struct InterfaceAddress {
    enum class Kind { Other, Ipv4, Link };

    std::string name;
    Kind kind = Kind::Other;
    unsigned flags = 0;                // IFF_* of the interface
    std::uint32_t ipv4 = 0;            // Ipv4: the address, network byte order
    bool ethernet = false;             // Link: hardware type is Ethernet
    std::vector<std::uint8_t> address; // Link: the hardware address bytes
};

// The interface address list; absent when it cannot be read.
class InterfaceAddresses {
public:
    virtual ~InterfaceAddresses() = default;
    virtual std::optional<std::vector<InterfaceAddress>> list() = 0;
};
