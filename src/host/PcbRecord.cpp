#include "host/PcbRecord.h"

#include <array>
#include <cstring>
#include <netinet/in.h>

int tcpStateFromLinux(int linuxState)
{
    switch (linuxState) {
    case 1:
        return tcpstate::Established;
    case 2:
        return tcpstate::SynSent;
    case 3:
        return tcpstate::SynReceived;
    case 4:
        return tcpstate::FinWait1;
    case 5:
        return tcpstate::FinWait2;
    case 6:
        return tcpstate::TimeWait;
    case 7:
        return tcpstate::Closed;
    case 8:
        return tcpstate::CloseWait;
    case 9:
        return tcpstate::LastAck;
    case 10:
        return tcpstate::Listen;
    case 11:
        return tcpstate::Closing;
    case 12:
        return tcpstate::SynReceived; // a request socket waiting for the final ACK
    default:
        return linuxState > tcpstate::TimeWait ? linuxState : tcpstate::TimeWait + 1;
    }
}

namespace {

bool isUnspecified(const std::uint8_t* a)
{
    static const std::uint8_t zero[16] = {};
    return std::memcmp(a, zero, 16) == 0;
}

bool isV4Mapped(const std::uint8_t* a)
{
    static const std::uint8_t prefix[12] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xff, 0xff};
    return std::memcmp(a, prefix, 12) == 0;
}

std::uint32_t embeddedV4(const std::uint8_t* a)
{
    std::uint32_t v;
    std::memcpy(&v, a + 12, 4);
    return v;
}

void embedScope(std::array<std::uint8_t, 16>& a, std::uint32_t scopeId)
{
    const bool linkLocal = a[0] == 0xfe && (a[1] & 0xc0) == 0x80;
    const bool mcastLinkLocal = a[0] == 0xff && (a[1] & 0x0f) == 0x02;
    if ((linkLocal || mcastLinkLocal) && scopeId != 0 && scopeId <= 0xffff) {
        a[2] = std::uint8_t(scopeId >> 8);
        a[3] = std::uint8_t(scopeId);
    }
}

} // namespace

void assignPcbAddresses(PcbRecord& rec, int linuxFamily, bool dualStack,
                        const std::uint8_t* local16, const std::uint8_t* remote16,
                        std::uint32_t scopeId)
{
    if (linuxFamily == AF_INET) {
        rec.vflag = PcbRecord::VersionIpv4;
        std::memcpy(&rec.laddr, local16, 4);
        std::memcpy(&rec.faddr, remote16, 4);
        return;
    }
    const bool localMapped = isV4Mapped(local16), remoteMapped = isV4Mapped(remote16);
    const bool localFree = isUnspecified(local16), remoteFree = isUnspecified(remote16);
    if (dualStack && (localMapped || localFree) && (remoteMapped || remoteFree) &&
        (localMapped || remoteMapped)) {
        rec.vflag = PcbRecord::VersionIpv4;
        rec.laddr = localMapped ? embeddedV4(local16) : 0;
        rec.faddr = remoteMapped ? embeddedV4(remote16) : 0;
        return;
    }
    std::memcpy(rec.laddr6.data(), local16, 16);
    std::memcpy(rec.faddr6.data(), remote16, 16);
    embedScope(rec.laddr6, scopeId);
    embedScope(rec.faddr6, scopeId);
    rec.vflag = PcbRecord::VersionIpv6;
    if (dualStack && localFree && remoteFree) {
        // The IPv4 fields of an unbound dual-stack socket are the wildcard.
        rec.vflag |= PcbRecord::VersionIpv4;
        rec.laddr = 0;
        rec.faddr = 0;
    }
}
