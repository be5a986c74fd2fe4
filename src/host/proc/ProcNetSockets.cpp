#include "host/proc/ProcNetSockets.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <netinet/in.h>

namespace procnet {
namespace {

bool hexValue(std::string_view s, std::uint32_t& out)
{
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out, 16);
    return ec == std::errc() && end == s.data() + s.size();
}

// "0100007F:0035": the address words as the kernel printed them (%08X of
// each 32-bit word in memory order), then the port.
bool parseEndpoint(std::string_view field, int family, std::uint8_t* address16, std::uint32_t& port)
{
    const std::size_t colon = field.find(':');
    if (colon == std::string_view::npos || !hexValue(field.substr(colon + 1), port))
        return false;
    const std::string_view hex = field.substr(0, colon);
    const std::size_t words = family == AF_INET ? 1 : 4;
    if (hex.size() != 8 * words)
        return false;
    std::memset(address16, 0, 16);
    for (std::size_t i = 0; i < words; ++i) {
        std::uint32_t w;
        if (!hexValue(hex.substr(8 * i, 8), w))
            return false;
        std::memcpy(address16 + 4 * i, &w, 4);
    }
    return true;
}

} // namespace

void parseTable(std::string_view text, int family, std::uint8_t protocol,
                const std::function<void(const PcbRecord&)>& each)
{
    std::size_t pos = text.find('\n'); // the header
    while (pos != std::string_view::npos && pos + 1 < text.size()) {
        const std::size_t start = pos + 1;
        pos = text.find('\n', start);
        std::string_view line =
            text.substr(start, pos == std::string_view::npos ? text.npos : pos - start);
        // Fields: sl local remote st ...
        std::string_view fields[4];
        int n = 0;
        while (n < 4) {
            const std::size_t b = line.find_first_not_of(' ');
            if (b == std::string_view::npos)
                break;
            line.remove_prefix(b);
            const std::size_t e = line.find(' ');
            fields[n++] = line.substr(0, e);
            line.remove_prefix(e == std::string_view::npos ? line.size() : e);
        }
        std::uint8_t local[16], remote[16];
        std::uint32_t lport, fport, state;
        if (n < 4 || !parseEndpoint(fields[1], family, local, lport) ||
            !parseEndpoint(fields[2], family, remote, fport) || !hexValue(fields[3], state))
            continue;
        PcbRecord rec;
        rec.protocol = protocol;
        // These tables do not say whether a socket is v6-only; a raw one never talks IPv4.
        assignPcbAddresses(rec, family, protocol != IPPROTO_RAW, local, remote);
        if (protocol == IPPROTO_RAW) {
            rec.protocol = std::uint8_t(lport);
        } else {
            rec.lport = std::uint16_t(lport);
            rec.fport = std::uint16_t(fport);
        }
        if (rec.protocol == IPPROTO_TCP)
            rec.tstate = tcpStateFromLinux(int(state));
        each(rec);
    }
}

bool readTable(const std::string& root, const std::string& name, int family, std::uint8_t protocol,
               const std::function<void(const PcbRecord&)>& each)
{
    // /proc/net follows the namespace of the process's first thread; the
    // calling thread's own tables are under thread-self (a captured tree has
    // only proc/net).
    std::FILE* f = std::fopen((root + "/proc/thread-self/net/" + name).c_str(), "re");
    if (!f)
        f = std::fopen((root + "/proc/net/" + name).c_str(), "re");
    if (!f)
        return false;
    std::string text;
    char buf[65536];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        text.append(buf, n);
    std::fclose(f);
    parseTable(text, family, protocol, each);
    return true;
}

} // namespace procnet
