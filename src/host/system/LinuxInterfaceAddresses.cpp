#include "host/system/LinuxInterfaceAddresses.h"

#include <cstring>
#include <ifaddrs.h>
#include <linux/if_arp.h>
#include <linux/if_packet.h>
#include <netinet/in.h>
#include <sys/socket.h>

std::optional<std::vector<InterfaceAddress>> LinuxInterfaceAddresses::list()
{
    ifaddrs* head = nullptr;
    if (::getifaddrs(&head) != 0)
        return std::nullopt;
    std::vector<InterfaceAddress> out;
    for (const ifaddrs* i = head; i; i = i->ifa_next) {
        InterfaceAddress entry;
        entry.name = i->ifa_name ? i->ifa_name : "";
        entry.flags = i->ifa_flags;
        if (i->ifa_addr && i->ifa_addr->sa_family == AF_INET) {
            entry.kind = InterfaceAddress::Kind::Ipv4;
            entry.ipv4 = reinterpret_cast<const sockaddr_in*>(i->ifa_addr)->sin_addr.s_addr;
        } else if (i->ifa_addr && i->ifa_addr->sa_family == AF_PACKET) {
            const auto* ll = reinterpret_cast<const sockaddr_ll*>(i->ifa_addr);
            entry.kind = InterfaceAddress::Kind::Link;
            entry.ethernet = ll->sll_hatype == ARPHRD_ETHER;
            const std::size_t len = std::min<std::size_t>(ll->sll_halen, sizeof ll->sll_addr);
            entry.address.assign(ll->sll_addr, ll->sll_addr + len);
        }
        out.push_back(std::move(entry));
    }
    ::freeifaddrs(head);
    return out;
}
