#include "stats/ConnectionStats.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <map>

namespace {

class FakeSocketDump : public SocketDump {
public:
    std::map<List, std::vector<PcbRecord>> lists;
    std::map<List, int> reads;
    bool udpFails = false;

    bool list(List which, const std::function<void(const PcbRecord&)>& each) override
    {
        ++reads[which];
        for (const PcbRecord& r : lists[which])
            each(r);
        return !(which == List::Udp && udpFails) && which != List::Divert;
    }
};

PcbRecord v4(std::uint8_t protocol, const char* local, std::uint16_t lport, const char* remote,
             std::uint16_t fport, int state = 0)
{
    PcbRecord r;
    r.protocol = protocol;
    r.vflag = PcbRecord::VersionIpv4;
    inet_pton(AF_INET, local, &r.laddr);
    inet_pton(AF_INET, remote, &r.faddr);
    r.lport = lport;
    r.fport = fport;
    r.tstate = state;
    return r;
}

PcbRecord v6(std::uint8_t protocol, const char* local, std::uint16_t lport, const char* remote,
             std::uint16_t fport, int state = 0)
{
    PcbRecord r;
    r.protocol = protocol;
    r.vflag = PcbRecord::VersionIpv6;
    inet_pton(AF_INET6, local, r.laddr6.data());
    inet_pton(AF_INET6, remote, r.faddr6.data());
    r.lport = lport;
    r.fport = fport;
    r.tstate = state;
    return r;
}

std::vector<std::string> groupNames(const ConnectionStats& stats)
{
    std::vector<std::string> names;
    for (const ConnectionGroup& g : stats.connectionArray())
        names.push_back(g.name);
    return names;
}

// A copy of the named group; empty when there is none.
ConnectionGroup group(const ConnectionStats& stats, const std::string& name)
{
    for (const ConnectionGroup& g : stats.connectionArray())
        if (g.name == name)
            return g;
    return {};
}

} // namespace

TEST(ConnectionStats, TcpStatesListedAndLeftOut)
{
    auto dump = std::make_shared<FakeSocketDump>();
    PcbRecord needFin = v4(6, "10.0.0.2", 40000, "10.0.0.3", 443, tcpstate::Established);
    needFin.tflags = PcbRecord::NeedFin;
    PcbRecord needSyn = v4(6, "10.0.0.2", 40001, "10.0.0.3", 443, tcpstate::SynSent);
    needSyn.tflags = PcbRecord::NeedSyn;
    dump->lists[SocketDump::List::Tcp] = {
        v4(6, "0.0.0.0", 22, "0.0.0.0", 0, tcpstate::Listen),
        v4(6, "127.0.0.1", 5000, "0.0.0.0", 0, tcpstate::Closed),
        v4(6, "192.168.1.5", 51000, "93.184.216.34", 80, tcpstate::TimeWait),
        needFin,
        needSyn,
        v4(6, "192.168.1.5", 51001, "93.184.216.34", 80, 12), // beyond the table
    };
    ConnectionStats stats(dump);
    stats.refresh();
    ASSERT_EQ(groupNames(stats), std::vector<std::string>{"tcp4"});
    const auto groups = stats.connectionArray();
    const auto& list = groups[0].connectionList;
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[0].state, "TIME_WAIT");
    EXPECT_EQ(list[0].localAddr, "192.168.1.5");
    EXPECT_EQ(list[0].localPort, "51000");
    EXPECT_EQ(list[0].remoteAddr, "93.184.216.34");
    EXPECT_EQ(list[0].remotePort, "80");
    EXPECT_EQ(list[1].state, "*");
    EXPECT_EQ(list[2].state, "*");
    EXPECT_EQ(list[3].state, "12");
    // TCP and UDP lists are read once although both tables name them.
    EXPECT_EQ(dump->reads[SocketDump::List::Tcp], 1);
    EXPECT_EQ(dump->reads[SocketDump::List::Udp], 1);
}

TEST(ConnectionStats, UdpAndIpv6Texts)
{
    auto dump = std::make_shared<FakeSocketDump>();
    PcbRecord dual = v4(17, "0.0.0.0", 5353, "0.0.0.0", 0);
    dual.vflag = PcbRecord::VersionIpv4 | PcbRecord::VersionIpv6;
    inet_pton(AF_INET6, "::1", dual.laddr6.data()); // ignored: the IPv4 bit wins
    dump->lists[SocketDump::List::Udp] = {
        v4(17, "0.0.0.0", 53, "0.0.0.0", 0),
        v6(17, "fe80::1", 546, "::", 0),
        dual,
        v6(17, "2001:db8::5", 4000, "2001:db8::9", 4001),
    };
    ConnectionStats stats(dump);
    stats.refresh();
    EXPECT_EQ(groupNames(stats), (std::vector<std::string>{"udp4", "udp6", "udp46"}));

    const auto udp4 = group(stats, "udp4").connectionList.at(0);
    EXPECT_EQ(udp4.localAddr, "*");
    EXPECT_EQ(udp4.localPort, "53");
    EXPECT_EQ(udp4.remoteAddr, "*");
    EXPECT_EQ(udp4.remotePort, "*");
    EXPECT_EQ(udp4.state, "");

    const auto udp6 = group(stats, "udp6").connectionList;
    ASSERT_EQ(udp6.size(), 2u);
    EXPECT_EQ(udp6[0].localAddr, "fe80::1");
    EXPECT_EQ(udp6[0].remoteAddr, "*");
    EXPECT_EQ(udp6[0].remotePort, "0"); // IPv6 shows port 0, not "*"
    EXPECT_EQ(udp6[1].remoteAddr, "2001:db8::9");
    EXPECT_EQ(udp6[1].remotePort, "4001");

    const auto udp46 = group(stats, "udp46").connectionList.at(0);
    EXPECT_EQ(udp46.localAddr, "*");
    EXPECT_EQ(udp46.localPort, "5353");
    EXPECT_EQ(udp46.remotePort, "*");
}

TEST(ConnectionStats, RawSocketsAndGroupOrder)
{
    auto dump = std::make_shared<FakeSocketDump>();
    dump->lists[SocketDump::List::Raw] = {
        v4(1, "0.0.0.0", 0, "0.0.0.0", 0),
        v4(255, "0.0.0.0", 0, "0.0.0.0", 0),
        v6(58, "::", 0, "::", 0),
    };
    dump->lists[SocketDump::List::Udp] = {v6(17, "::1", 9, "::", 0),
                                          v4(17, "127.0.0.1", 9, "0.0.0.0", 0)};
    dump->lists[SocketDump::List::Tcp] = {
        v6(6, "::1", 80, "::1", 50000, tcpstate::Established),
        v4(6, "127.0.0.1", 80, "127.0.0.1", 50001, tcpstate::Established),
        v4(6, "127.0.0.1", 50001, "127.0.0.1", 80, tcpstate::Established),
    };
    ConnectionStats stats(dump);
    stats.refresh();
    // The ICMP socket shows under icmp4; the protocol-255 socket under
    // both "ip" and "ip6" names; ICMPv6 from the IPv6 table.
    EXPECT_EQ(groupNames(stats), (std::vector<std::string>{"tcp4", "tcp6", "udp4", "udp6", "icmp4",
                                                           "icmp66", "ip4", "ip64"}));
    // Records of one name keep the order in which they were read.
    const auto groups = stats.connectionArray();
    const auto& tcp4 = groups[0].connectionList;
    ASSERT_EQ(tcp4.size(), 2u);
    EXPECT_EQ(tcp4[0].localPort, "80");
    EXPECT_EQ(tcp4[1].localPort, "50001");
    EXPECT_EQ(group(stats, "icmp4").connectionList.at(0).localAddr, "*");
    // The raw list is read once per raw protocol of the two tables.
    EXPECT_EQ(dump->reads[SocketDump::List::Raw], 5);
}

TEST(ConnectionStats, UnreadableListsAndRepeatsContributeNothing)
{
    auto dump = std::make_shared<FakeSocketDump>();
    dump->udpFails = true;
    dump->lists[SocketDump::List::Udp] = {v4(17, "0.0.0.0", 53, "0.0.0.0", 0)};
    PcbRecord once = v4(6, "127.0.0.1", 1, "127.0.0.1", 2, tcpstate::Established);
    once.cookie = 77;
    PcbRecord noVersion = once;
    noVersion.cookie = 78;
    noVersion.vflag = 0;
    dump->lists[SocketDump::List::Tcp] = {once, once, noVersion};
    ConnectionStats stats(dump);
    stats.refresh();
    ASSERT_EQ(groupNames(stats), std::vector<std::string>{"tcp4"});
    EXPECT_EQ(stats.connectionArray()[0].connectionList.size(), 1u);

    dump->lists.clear();
    stats.refresh();
    EXPECT_TRUE(stats.connectionArray().empty());
}
