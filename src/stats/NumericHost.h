#pragma once

#include <cstdint>
#include <string>

// The text getnameinfo(NI_NUMERICHOST) gives for an IPv6 address with a
// scope id, without its per-call overhead (it matters for 100 000 routes):
// the inet_ntop form, then "%" and the interface name for a link-local
// address whose scope names an interface, else "%" and the number.
std::string numericHost6(const std::uint8_t* address16, std::uint32_t scopeId);
