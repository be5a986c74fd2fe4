#pragma once

#include <cstdint>
#include <string>

// One route as the routing-table screen shows it. Texts are std::string:
// short ones stay inside the string object, which keeps a snapshot of
// 200 000 routes cheap to build. -1 marks a number the kernel did not give.
struct RouteInfo {
    std::string destination;
    std::string gateway;
    std::string flags;
    std::string interface;
    std::int32_t refs = -1;
    std::int32_t use = -1;
    std::int32_t expire = -1;
    std::int32_t mtu = -1;
};
