#include "host/netlink/NetlinkParser.h"

#include <cstring>
#include <linux/inet_diag.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <netinet/in.h>
#include <sys/socket.h>

namespace netlink {
namespace {

constexpr std::size_t align4(std::size_t n)
{
    return (n + 3) & ~std::size_t(3);
}

template <typename T> bool readAt(Bytes bytes, std::size_t offset, T& out)
{
    if (offset > bytes.size() || bytes.size() - offset < sizeof(T))
        return false;
    std::memcpy(&out, bytes.data() + offset, sizeof(T));
    return true;
}

void putAddress(RouteSockaddr& sa, std::uint8_t family, Bytes addr)
{
    // An absent address (the default route's) stays all zeros.
    sa = makeRouteAddress(family, addr.empty() ? nullptr : addr.data(), addr.size());
}

// The BSD kernel keeps the scope of a link-local address in bytes 2 and 3;
// doing the same here lets the display logic name the interface.
void embedScope(RouteSockaddr& sa, std::uint32_t index)
{
    using namespace sockaddrlayout;
    if (sa.family() != routefamily::Inet6 || index == 0 || index > 0xffff)
        return;
    const std::uint8_t b0 = sa.bytes[In6Addr], b1 = sa.bytes[In6Addr + 1];
    const bool linkLocal = b0 == 0xfe && (b1 & 0xc0) == 0x80;
    const bool mcastLinkLocal = b0 == 0xff && (b1 & 0x0f) == 0x02;
    if (linkLocal || mcastLinkLocal) {
        sa.bytes[In6Addr + 2] = std::uint8_t(index >> 8);
        sa.bytes[In6Addr + 3] = std::uint8_t(index);
    }
}

std::uint32_t flagsFor(const rtmsg& rtm)
{
    std::uint32_t f = routeflag::Up;
    switch (rtm.rtm_type) {
    case RTN_UNREACHABLE:
    case RTN_PROHIBIT:
        f |= routeflag::Reject;
        break;
    case RTN_BLACKHOLE:
        f |= routeflag::Blackhole;
        break;
    case RTN_BROADCAST:
        f |= routeflag::Broadcast;
        break;
    case RTN_MULTICAST:
        f |= routeflag::Multicast;
        break;
    default:
        break;
    }
    switch (rtm.rtm_protocol) {
    case RTPROT_STATIC:
    case RTPROT_BOOT:
        f |= routeflag::Static;
        break;
    case RTPROT_REDIRECT:
    case RTPROT_RA:
        f |= routeflag::Dynamic;
        break;
    default:
        break;
    }
    if (rtm.rtm_flags & RTM_F_CLONED)
        f |= routeflag::WasCloned;
    return f;
}

} // namespace

WalkEnd walkMessages(Bytes chunk,
                     const std::function<void(std::uint16_t type, Bytes payload)>& onMessage,
                     int* errorCode)
{
    return walkMessagesWithFlags(
        chunk, [&](std::uint16_t type, std::uint16_t, Bytes payload) { onMessage(type, payload); },
        errorCode);
}

WalkEnd walkMessagesWithFlags(
    Bytes chunk,
    const std::function<void(std::uint16_t type, std::uint16_t flags, Bytes payload)>& onMessage,
    int* errorCode)
{
    std::size_t pos = 0;
    while (pos < chunk.size()) {
        nlmsghdr h;
        if (!readAt(chunk, pos, h) || h.nlmsg_len < sizeof(nlmsghdr) ||
            h.nlmsg_len > chunk.size() - pos)
            return WalkEnd::Malformed;
        const Bytes payload = chunk.subspan(pos + NLMSG_HDRLEN, h.nlmsg_len - NLMSG_HDRLEN);
        if (h.nlmsg_type == NLMSG_DONE) {
            // A dump that failed in the kernel ends with DONE carrying -errno
            // (for example a protocol whose diag module is not built).
            int code = 0;
            if (readAt(payload, 0, code) && code < 0) {
                if (errorCode)
                    *errorCode = -code;
                return WalkEnd::Error;
            }
            return WalkEnd::Done;
        }
        if (h.nlmsg_type == NLMSG_ERROR) {
            int code = 0;
            if (!readAt(payload, 0, code))
                return WalkEnd::Malformed;
            if (code != 0) {
                if (errorCode)
                    *errorCode = -code;
                return WalkEnd::Error;
            }
        } else if (h.nlmsg_type >= NLMSG_MIN_TYPE) {
            onMessage(h.nlmsg_type, h.nlmsg_flags, payload);
        }
        pos += align4(h.nlmsg_len);
    }
    return WalkEnd::More;
}

bool walkAttributes(Bytes bytes,
                    const std::function<void(std::uint16_t type, Bytes value)>& onAttribute)
{
    static_assert(sizeof(rtattr) == 4 && (NLA_TYPE_MASK & 0xffff) == 0x3fff);
    return forEachAttribute(bytes, onAttribute);
}

bool parseRouteMessage(Bytes payload, const RouteContext& context, RouteRecord& out)
{
    rtmsg rtm;
    if (!readAt(payload, 0, rtm))
        return false;
    std::uint8_t family;
    int fullLength;
    if (rtm.rtm_family == AF_INET) {
        family = routefamily::Inet;
        fullLength = 32;
    } else if (rtm.rtm_family == AF_INET6) {
        family = routefamily::Inet6;
        fullLength = 128;
    } else {
        return false;
    }
    if (rtm.rtm_dst_len > fullLength)
        return false;

    out = RouteRecord{};
    out.flags = flagsFor(rtm);
    out.table = rtm.rtm_table;
    out.tos = rtm.rtm_tos;
    if (rtm.rtm_dst_len == fullLength)
        out.flags |= routeflag::Host;
    putAddress(out.sa[RouteRecord::Destination], family, {}); // the default route has no RTA_DST
    out.sa[RouteRecord::Netmask] = makeRouteMask(family, rtm.rtm_dst_len);
    out.addrs = (1u << RouteRecord::Destination) | (1u << RouteRecord::Netmask);

    bool haveGateway = false;
    const auto gatewayFrom = [&](std::uint8_t fam, Bytes addr) {
        if (addr.size() < (fam == routefamily::Inet ? 4u : 16u))
            return;
        putAddress(out.sa[RouteRecord::GatewaySlot], fam, addr);
        haveGateway = true;
    };
    bool sane = true;
    const bool ok = forEachAttribute(
        payload.subspan(std::min(payload.size(), align4(sizeof(rtmsg)))),
        [&](std::uint16_t type, Bytes v) {
            switch (type) {
            case RTA_DST:
                if (v.size() < (family == routefamily::Inet ? 4u : 16u))
                    sane = false;
                else
                    putAddress(out.sa[RouteRecord::Destination], family, v);
                break;
            case RTA_GATEWAY:
                gatewayFrom(family, v);
                break;
            case RTA_VIA: { // a gateway of the other family: u16 family, then the address
                std::uint16_t viaFamily = 0;
                if (readAt(v, 0, viaFamily))
                    gatewayFrom(viaFamily == AF_INET6 ? routefamily::Inet6 : routefamily::Inet,
                                v.subspan(2));
                break;
            }
            case RTA_OIF:
                readAt(v, 0, out.index);
                break;
            case RTA_TABLE: // the full id of a table numbered above 255
                readAt(v, 0, out.table);
                break;
            case RTA_PRIORITY:
                readAt(v, 0, out.priority);
                break;
            case RTA_MULTIPATH: { // show the first next hop
                rtnexthop nh;
                if (!readAt(v, 0, nh) || nh.rtnh_len < sizeof(rtnexthop) || nh.rtnh_len > v.size())
                    break;
                if (out.index == 0)
                    out.index = std::uint32_t(nh.rtnh_ifindex);
                walkAttributes(v.subspan(sizeof(rtnexthop), nh.rtnh_len - sizeof(rtnexthop)),
                               [&](std::uint16_t t, Bytes nv) {
                                   if (t == RTA_GATEWAY && !haveGateway)
                                       gatewayFrom(family, nv);
                               });
                break;
            }
            case RTA_METRICS:
                walkAttributes(v, [&](std::uint16_t t, Bytes mv) {
                    if (t == RTAX_MTU)
                        readAt(mv, 0, out.mtu);
                });
                break;
            case RTA_CACHEINFO: {
                rta_cacheinfo ci;
                if (!readAt(v, 0, ci))
                    break;
                out.refcnt = std::int32_t(ci.rta_clntref);
                out.use = std::int32_t(ci.rta_used);
                if (ci.rta_expires != 0 && context.ticksPerSecond > 0)
                    out.expire =
                        context.now + std::int32_t(ci.rta_expires) / context.ticksPerSecond;
                break;
            }
            default:
                break;
            }
        });
    if (!ok || !sane)
        return false;

    if (haveGateway) {
        out.flags |= routeflag::Gateway;
    } else if (out.index != 0) {
        out.sa[RouteRecord::GatewaySlot] = makeRouteLink(out.index); // a direct route: "link#N"
        haveGateway = true;
    }
    if (haveGateway)
        out.addrs |= 1u << RouteRecord::GatewaySlot;
    embedScope(out.sa[RouteRecord::Destination], out.index);
    if (out.sa[RouteRecord::GatewaySlot].family() != routefamily::Link)
        embedScope(out.sa[RouteRecord::GatewaySlot], out.index);
    return true;
}

bool isMainTableDefault(Bytes payload)
{
    rtmsg rtm;
    if (!readAt(payload, 0, rtm) || rtm.rtm_dst_len != 0 ||
        (rtm.rtm_family != AF_INET && rtm.rtm_family != AF_INET6))
        return false;
    std::uint32_t table = rtm.rtm_table;
    walkAttributes(payload.subspan(std::min(payload.size(), align4(sizeof(rtmsg)))),
                   [&](std::uint16_t type, Bytes v) {
                       if (type == RTA_TABLE)
                           readAt(v, 0, table);
                   });
    return table == RT_TABLE_MAIN;
}

bool parseLinkMessage(Bytes payload, std::uint32_t& index, std::string& name)
{
    ifinfomsg ifi;
    if (!readAt(payload, 0, ifi) || ifi.ifi_index <= 0)
        return false;
    index = std::uint32_t(ifi.ifi_index);
    name.clear();
    const bool ok = walkAttributes(payload.subspan(std::min(payload.size(), align4(sizeof(ifi)))),
                                   [&](std::uint16_t type, Bytes v) {
                                       if (type != IFLA_IFNAME)
                                           return;
                                       std::size_t n = 0;
                                       while (n < v.size() && v[n] != 0)
                                           ++n;
                                       name.assign(reinterpret_cast<const char*>(v.data()), n);
                                   });
    return ok && !name.empty();
}

bool parseDiagMessage(Bytes payload, std::uint8_t protocol, PcbRecord& out)
{
    inet_diag_msg m;
    if (!readAt(payload, 0, m) || (m.idiag_family != AF_INET && m.idiag_family != AF_INET6))
        return false;
    out = PcbRecord{};
    out.protocol = protocol;
    bool v6only = false;
    bool haveProtocol = false;
    const bool ok =
        walkAttributes(payload.subspan(std::min(payload.size(), align4(sizeof(inet_diag_msg)))),
                       [&](std::uint16_t type, Bytes v) {
                           if (type == INET_DIAG_SKV6ONLY && !v.empty())
                               v6only = v[0] != 0;
                           else if (type == INET_DIAG_PROTOCOL && !v.empty()) {
                               out.protocol = v[0];
                               haveProtocol = true;
                           }
                       });
    if (!ok)
        return false;
    const bool raw = protocol == IPPROTO_RAW;
    // The dual-stack rule is the TCP and UDP one: a raw IPv6 socket never
    // carries IPv4.
    assignPcbAddresses(out, m.idiag_family, !raw && !v6only,
                       reinterpret_cast<const std::uint8_t*>(m.id.idiag_src),
                       reinterpret_cast<const std::uint8_t*>(m.id.idiag_dst), m.id.idiag_if);
    if (raw) {
        // A raw socket's "port" is its protocol; it has no ports to show.
        if (!haveProtocol)
            out.protocol = std::uint8_t(ntohs(m.id.idiag_sport));
    } else {
        out.lport = ntohs(m.id.idiag_sport);
        out.fport = ntohs(m.id.idiag_dport);
    }
    if (out.protocol == IPPROTO_TCP)
        out.tstate = tcpStateFromLinux(m.idiag_state);
    out.cookie = (std::uint64_t(m.id.idiag_cookie[1]) << 32) | m.id.idiag_cookie[0];
    return true;
}

} // namespace netlink
