#pragma once

#include "host/RouteDump.h"

#include <unordered_map>

// Reads routes over rtnetlink (RTM_GETROUTE dumps; /proc/net/ipv6_route is
// quadratic in the kernel and useless for large tables) and the interface
// names with one RTM_GETLINK dump, so naming 100 000 routes costs no more
// than one lookup per interface. Works in the network namespace of the
// calling thread.
class LinuxRouteDump : public RouteDump {
public:
    bool dump(const std::function<void(const RouteRecord&)>& each) override;
    // Asks the kernel for the main table alone where it can filter dumps.
    bool dumpMainTable(std::uint8_t family,
                       const std::function<void(const RouteRecord&)>& each) override;
    std::optional<std::string> interfaceName(std::uint32_t index) const override;

private:
    std::unordered_map<std::uint32_t, std::string> m_names;
};
