#include "stats/ConnectionText.h"

#include "host/PcbRecord.h"
#include "stats/NumericHost.h"

#include <cstring>

namespace connectiontext {

std::string ipv4Text(std::uint32_t networkOrder)
{
    if (networkOrder == 0)
        return "*";
    std::uint8_t b[4];
    std::memcpy(b, &networkOrder, 4);
    char buf[16];
    char* p = buf;
    for (int i = 0; i < 4; ++i) {
        if (i)
            *p++ = '.';
        const unsigned v = b[i];
        if (v >= 100)
            *p++ = char('0' + v / 100);
        if (v >= 10)
            *p++ = char('0' + v / 10 % 10);
        *p++ = char('0' + v % 10);
    }
    return std::string(buf, std::size_t(p - buf));
}

std::string ipv6Text(const std::uint8_t* address16)
{
    static const std::uint8_t zero[16] = {};
    if (std::memcmp(address16, zero, 16) == 0)
        return "*";
    std::uint8_t copy[16];
    std::memcpy(copy, address16, 16);
    std::uint32_t scope = 0;
    const bool linkLocal = copy[0] == 0xfe && (copy[1] & 0xc0) == 0x80;
    const bool mcastLinkLocal = copy[0] == 0xff && (copy[1] & 0x0f) == 0x02;
    if (linkLocal || mcastLinkLocal) {
        scope = (std::uint32_t(copy[2]) << 8) | copy[3];
        copy[2] = copy[3] = 0;
    }
    std::string text = numericHost6(copy, scope);
    if (text.empty())
        return "?";
    if (text.size() > 49)
        text.resize(49);
    return text;
}

std::string portText(std::uint16_t port, bool ipv4)
{
    if (ipv4 && port == 0)
        return "*";
    return std::to_string(port);
}

std::string stateText(int state, std::uint32_t flags)
{
    static const char* const names[] = {"CLOSED",      "LISTEN",     "SYN_SENT",   "SYN_RCVD",
                                        "ESTABLISHED", "CLOSE_WAIT", "FIN_WAIT_1", "CLOSING",
                                        "LAST_ACK",    "FIN_WAIT_2", "TIME_WAIT"};
    if (state < 0 || state > 10)
        return std::to_string(state);
    if (flags & (PcbRecord::NeedSyn | PcbRecord::NeedFin))
        return "*";
    return names[state];
}

std::string protocolName(const char* name, std::uint8_t vflag)
{
    std::string out(name);
    const bool v4 = vflag & PcbRecord::VersionIpv4, v6 = vflag & PcbRecord::VersionIpv6;
    out += v4 && v6 ? "46" : v6 ? "6" : "4";
    return out;
}

} // namespace connectiontext
