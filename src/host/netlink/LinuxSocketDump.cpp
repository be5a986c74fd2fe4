#include "host/netlink/LinuxSocketDump.h"

#include "host/netlink/NetlinkSocket.h"
#include "host/proc/ProcNetSockets.h"

#include <cstring>
#include <linux/inet_diag.h>
#include <linux/netlink.h>
#include <linux/sock_diag.h>
#include <netinet/in.h>
#include <sys/socket.h>

namespace {

// Every TCP state but LISTEN and CLOSE: the listing leaves those out, and
// asking the kernel not to send them saves walking the listening hash.
constexpr std::uint32_t ShownTcpStates = ~((1u << 10) | (1u << 7));

} // namespace

LinuxSocketDump::LinuxSocketDump(std::string root) : m_root(std::move(root)) {}

bool LinuxSocketDump::list(List which, const std::function<void(const PcbRecord&)>& each)
{
    if (which == List::Divert)
        return false;
    bool delivered = false;
    if (!m_forceProc && viaSockDiag(which, each, delivered))
        return true;
    // Refused outright: read /proc/net instead. Broken off half-way: a
    // second reading would repeat sockets, so the list counts as unreadable.
    return !delivered && viaProc(which, each);
}

bool LinuxSocketDump::viaSockDiag(List which, const std::function<void(const PcbRecord&)>& each,
                                  bool& delivered)
{
    NetlinkSocket socket(NETLINK_SOCK_DIAG);
    if (!socket.isOpen())
        return false;
    PcbRecord record;
    std::uint8_t protocol = 0;
    const auto onMessage = [&](std::uint16_t, netlink::Bytes payload) {
        if (netlink::parseDiagMessage(payload, protocol, record)) {
            delivered = true;
            each(record);
        }
    };

    if (which == List::Tcp) {
        // The old TCP request walks the table once for both families; the
        // per-family request walks the whole established hash twice.
        protocol = IPPROTO_TCP;
        inet_diag_req req{};
        req.idiag_family = AF_INET;
        req.idiag_states = ShownTcpStates;
        if (socket.dump(NetlinkSocket::dumpRequest(TCPDIAG_GETSOCK, req), onMessage))
            return true;
        if (delivered)
            return false; // failed half-way: a second reading would repeat sockets
    }
    protocol = which == List::Udp ? IPPROTO_UDP : which == List::Tcp ? IPPROTO_TCP : IPPROTO_RAW;
    for (const std::uint8_t family : {AF_INET, AF_INET6}) {
        inet_diag_req_v2 req{};
        req.sdiag_family = family;
        req.sdiag_protocol = protocol;
        req.idiag_states = protocol == IPPROTO_TCP ? ShownTcpStates : ~0u;
        if (!socket.dump(NetlinkSocket::dumpRequest(SOCK_DIAG_BY_FAMILY, req), onMessage))
            return false;
    }
    return true;
}

bool LinuxSocketDump::viaProc(List which, const std::function<void(const PcbRecord&)>& each)
{
    const char* base = which == List::Tcp ? "tcp" : which == List::Udp ? "udp" : "raw";
    const std::uint8_t protocol = which == List::Tcp   ? IPPROTO_TCP
                                  : which == List::Udp ? IPPROTO_UDP
                                                       : IPPROTO_RAW;
    const bool v4 = procnet::readTable(m_root, base, AF_INET, protocol, each);
    const bool v6 = procnet::readTable(m_root, std::string(base) + "6", AF_INET6, protocol, each);
    return v4 || v6;
}
