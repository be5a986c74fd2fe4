#include "stats/NumericHost.h"

#include <arpa/inet.h>
#include <net/if.h>

std::string numericHost6(const std::uint8_t* address16, std::uint32_t scopeId)
{
    char text[INET6_ADDRSTRLEN + IF_NAMESIZE + 16];
    if (!inet_ntop(AF_INET6, address16, text, sizeof text))
        return {};
    std::string out(text);
    if (scopeId == 0)
        return out;
    const bool linkLocal = address16[0] == 0xfe && (address16[1] & 0xc0) == 0x80;
    const bool mcastLinkLocal = address16[0] == 0xff && (address16[1] & 0x0f) == 0x02;
    char name[IF_NAMESIZE];
    out += '%';
    if ((linkLocal || mcastLinkLocal) && if_indextoname(scopeId, name))
        out += name;
    else
        out += std::to_string(scopeId);
    return out;
}
