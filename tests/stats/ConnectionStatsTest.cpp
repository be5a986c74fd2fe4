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

// A socket of protocol; addresses with a colon are IPv6.
PcbRecord pcb(std::uint8_t protocol, const char* local, std::uint16_t lport, const char* remote,
              std::uint16_t fport, int state = 0)
{
    PcbRecord r;
    r.protocol = protocol;
    const bool v6 = std::string(local).find(':') != std::string::npos;
    r.vflag = v6 ? PcbRecord::VersionIpv6 : PcbRecord::VersionIpv4;
    if (v6) {
        inet_pton(AF_INET6, local, r.laddr6.data());
        inet_pton(AF_INET6, remote, r.faddr6.data());
    } else {
        inet_pton(AF_INET, local, &r.laddr);
        inet_pton(AF_INET, remote, &r.faddr);
    }
    r.lport = lport;
    r.fport = fport;
    r.tstate = state;
    return r;
}

struct Fixture {
    std::shared_ptr<FakeSocketDump> dump = std::make_shared<FakeSocketDump>();
    ConnectionStats stats{dump};

    std::vector<std::string> names() const
    {
        std::vector<std::string> out;
        for (const ConnectionGroup& g : stats.connectionArray())
            out.push_back(g.name);
        return out;
    }
    // The named group's sockets as "local:port remote:port state" lines.
    std::vector<std::string> group(const std::string& name) const
    {
        std::vector<std::string> rows;
        for (const ConnectionGroup& g : stats.connectionArray())
            if (g.name == name)
                for (const ConnectionInfo& c : g.connectionList)
                    rows.push_back(c.localAddr + ":" + c.localPort + " " + c.remoteAddr + ":" +
                                   c.remotePort + " " + c.state);
        return rows;
    }
};

} // namespace

TEST(ConnectionStats, TcpStatesListedAndLeftOut)
{
    Fixture f;
    PcbRecord needFin = pcb(6, "10.0.0.2", 40000, "10.0.0.3", 443, tcpstate::Established);
    needFin.tflags = PcbRecord::NeedFin;
    PcbRecord needSyn = pcb(6, "10.0.0.2", 40001, "10.0.0.3", 443, tcpstate::SynSent);
    needSyn.tflags = PcbRecord::NeedSyn;
    f.dump->lists[SocketDump::List::Tcp] = {
        pcb(6, "0.0.0.0", 22, "0.0.0.0", 0, tcpstate::Listen),
        pcb(6, "127.0.0.1", 5000, "0.0.0.0", 0, tcpstate::Closed),
        pcb(6, "100.10.0.5", 51000, "93.184.216.34", 80, tcpstate::TimeWait),
        needFin,
        needSyn,
        pcb(6, "192.168.1.5", 51001, "93.184.216.34", 80, 12), // beyond the table
    };
    f.stats.refresh();
    ASSERT_EQ(f.names(), std::vector<std::string>{"tcp4"});
    EXPECT_EQ(f.group("tcp4"),
              (std::vector<std::string>{
                  "100.10.0.5:51000 93.184.216.34:80 TIME_WAIT", "10.0.0.2:40000 10.0.0.3:443 *",
                  "10.0.0.2:40001 10.0.0.3:443 *", "192.168.1.5:51001 93.184.216.34:80 12"}));
    // TCP and UDP lists are read once although both tables name them.
    EXPECT_EQ(f.dump->reads[SocketDump::List::Tcp], 1);
    EXPECT_EQ(f.dump->reads[SocketDump::List::Udp], 1);
}

TEST(ConnectionStats, UdpAndIpv6Texts)
{
    Fixture f;
    PcbRecord dual = pcb(17, "0.0.0.0", 5353, "0.0.0.0", 0);
    dual.vflag = PcbRecord::VersionIpv4 | PcbRecord::VersionIpv6;
    inet_pton(AF_INET6, "::1", dual.laddr6.data()); // ignored: the IPv4 bit wins
    f.dump->lists[SocketDump::List::Udp] = {
        pcb(17, "0.0.0.0", 53, "0.0.0.0", 0),
        pcb(17, "fe80::1", 546, "::", 0),
        dual,
        pcb(17, "2001:db8::5", 4000, "2001:db8::9", 4001),
    };
    f.stats.refresh();
    EXPECT_EQ(f.names(), (std::vector<std::string>{"udp4", "udp6", "udp46"}));

    EXPECT_EQ(f.group("udp4"), std::vector<std::string>{"*:53 *:* "});
    // IPv6 shows port 0 as 0, not "*".
    EXPECT_EQ(f.group("udp6"),
              (std::vector<std::string>{"fe80::1:546 *:0 ", "2001:db8::5:4000 2001:db8::9:4001 "}));
    EXPECT_EQ(f.group("udp46"), std::vector<std::string>{"*:5353 *:* "});
}

TEST(ConnectionStats, RawSocketsAndGroupOrder)
{
    Fixture f;
    f.dump->lists[SocketDump::List::Raw] = {pcb(1, "0.0.0.0", 0, "0.0.0.0", 0),
                                            pcb(255, "0.0.0.0", 0, "0.0.0.0", 0),
                                            pcb(58, "::", 0, "::", 0)};
    f.dump->lists[SocketDump::List::Udp] = {pcb(17, "::1", 9, "::", 0),
                                            pcb(17, "127.0.0.1", 9, "0.0.0.0", 0)};
    f.dump->lists[SocketDump::List::Tcp] = {
        pcb(6, "::1", 80, "::1", 50000, tcpstate::Established),
        pcb(6, "127.0.0.1", 80, "127.0.0.1", 50001, tcpstate::Established),
        pcb(6, "127.0.0.1", 50001, "127.0.0.1", 80, tcpstate::Established),
    };
    f.stats.refresh();
    // The ICMP socket shows under icmp4; the protocol-255 socket under
    // both "ip" and "ip6" names; ICMPv6 from the IPv6 table.
    EXPECT_EQ(f.names(), (std::vector<std::string>{"tcp4", "tcp6", "udp4", "udp6", "icmp4",
                                                   "icmp66", "ip4", "ip64"}));
    // Records of one name keep the order in which they were read.
    EXPECT_EQ(f.group("tcp4"),
              (std::vector<std::string>{"127.0.0.1:80 127.0.0.1:50001 ESTABLISHED",
                                        "127.0.0.1:50001 127.0.0.1:80 ESTABLISHED"}));
    // The raw list is read once per raw protocol of the two tables.
    EXPECT_EQ(f.dump->reads[SocketDump::List::Raw], 5);
}

TEST(ConnectionStats, UnreadableListsAndRepeatsContributeNothing)
{
    Fixture f;
    f.dump->udpFails = true;
    f.dump->lists[SocketDump::List::Udp] = {pcb(17, "0.0.0.0", 53, "0.0.0.0", 0)};
    PcbRecord once = pcb(6, "127.0.0.1", 1, "127.0.0.1", 2, tcpstate::Established);
    once.cookie = 77;
    PcbRecord noVersion = once;
    noVersion.cookie = 78;
    noVersion.vflag = 0;
    f.dump->lists[SocketDump::List::Tcp] = {once, once, noVersion};
    f.stats.refresh();
    ASSERT_EQ(f.names(), std::vector<std::string>{"tcp4"});
    EXPECT_EQ(f.group("tcp4").size(), 1u);

    f.dump->lists.clear();
    f.stats.refresh();
    EXPECT_TRUE(f.stats.connectionArray().empty());
}
