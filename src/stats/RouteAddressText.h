#pragma once

#include "host/RouteRecord.h"

#include <cstdint>
#include <string>

// The netstat -rn text forms of route socket addresses and flags.
namespace routetext {

// Text of a destination or gateway. mask is null when no mask is given;
// both areas are read up to RouteSockaddr::Capacity bytes.
std::string addressText(const RouteSockaddr& sa, const RouteSockaddr* mask, std::uint32_t flags);

// An IPv4 network number shortened by its address class, with "/len" or
// "&0x" for a mask other than the class mask (a, m in host byte order).
std::string networkText(std::uint32_t a, std::uint32_t m);

// One letter per set flag, in the listing's fixed order.
std::string flagLetters(std::uint32_t flags);

} // namespace routetext
