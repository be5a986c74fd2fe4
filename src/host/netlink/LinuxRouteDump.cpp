#include "host/netlink/LinuxRouteDump.h"

#include "host/netlink/NetlinkSocket.h"

#include <cstring>
#include <ctime>
#include <linux/rtnetlink.h>
#include <sys/socket.h>
#include <unistd.h>

bool LinuxRouteDump::dump(const std::function<void(const RouteRecord&)>& each)
{
    NetlinkSocket socket(NETLINK_ROUTE);
    if (!socket.isOpen())
        return false;

    m_names.clear();
    ifinfomsg link{};
    link.ifi_family = AF_UNSPEC;
    socket.dump(NetlinkSocket::dumpRequest(RTM_GETLINK, link),
                [this](std::uint16_t type, netlink::Bytes p) {
                    std::uint32_t index = 0;
                    std::string name;
                    if (type == RTM_NEWLINK && netlink::parseLinkMessage(p, index, name))
                        m_names[index] = std::move(name);
                });

    netlink::RouteContext context;
    context.now = std::time(nullptr);
    context.ticksPerSecond = ::sysconf(_SC_CLK_TCK);
    RouteRecord record;
    const auto onRoute = [&](std::uint16_t type, netlink::Bytes p) {
        if (type == RTM_NEWROUTE && netlink::parseRouteMessage(p, context, record))
            each(record);
    };
    for (const unsigned char family : {AF_INET, AF_INET6}) {
        rtmsg rtm{};
        rtm.rtm_family = family;
        rtm.rtm_table = RT_TABLE_UNSPEC; // every table
        if (!socket.dump(NetlinkSocket::dumpRequest(RTM_GETROUTE, rtm), onRoute))
            return false;
    }
    return true;
}

std::optional<std::string> LinuxRouteDump::interfaceName(std::uint32_t index) const
{
    const auto it = m_names.find(index);
    if (it == m_names.end())
        return std::nullopt;
    return it->second;
}

bool LinuxRouteDump::dumpMainTable(std::uint8_t family,
                                   const std::function<void(const RouteRecord&)>& each)
{
    NetlinkSocket socket(NETLINK_ROUTE);
    if (!socket.isOpen())
        return false;
    // Kernels before 4.20 ignore the table in the request and send them all.
    socket.enableStrictChecking();
    netlink::RouteContext context;
    context.now = std::time(nullptr);
    context.ticksPerSecond = ::sysconf(_SC_CLK_TCK);
    RouteRecord record;
    const auto onRoute = [&](std::uint16_t type, netlink::Bytes p) {
        if (type == RTM_NEWROUTE && netlink::parseRouteMessage(p, context, record) &&
            record.table == RT_TABLE_MAIN)
            each(record);
    };
    for (const unsigned char f : {AF_INET, AF_INET6}) {
        if (family != 0 && (f == AF_INET) != (family == routefamily::Inet))
            continue;
        rtmsg rtm{};
        rtm.rtm_family = f;
        rtm.rtm_table = RT_TABLE_MAIN;
        if (!socket.dump(NetlinkSocket::dumpRequest(RTM_GETROUTE, rtm), onRoute))
            return false;
    }
    return true;
}
