#include "host/netlink/LinuxRouteDump.h"
#include "host/netlink/NetlinkMonitor.h"
#include "stats/RouteStats.h"
#include "support/TestSupport.h"

#include "NetnsScope.h"

#include <QThread>

#include <gtest/gtest.h>

#include <atomic>

using namespace std::chrono_literals;

// The only test of the route reader's requests against a real kernel: the
// parsers have captured-data tests, the requests and link names do not.
TEST(RouteNamespace, RoutesAddedInPrivateNamespaceAppear)
{
    NetnsScope ns;
    if (!ns.ok())
        GTEST_SKIP() << "cannot create a network namespace here (needs root and ip netns)";
    for (const char* command :
         {"link add d0 type veth peer name d1", "link set d1 up", "link set d0 up",
          "addr add 10.20.0.1/24 dev d0", "-6 addr add 2001:db8:5::1/64 dev d0 nodad",
          "route add 192.168.7.0/24 dev d0 mtu 1400 proto static",
          "route add default via 10.20.0.254", "-6 route add 2001:db8:77::/48 via 2001:db8:5::fe"})
        ASSERT_TRUE(ns.ip(command)) << command;

    RouteStats stats(std::make_shared<LinuxRouteDump>());
    std::vector<RouteGroup> groups;
    ASSERT_TRUE(ns.run([&] {
        stats.refresh();
        groups = stats.routeArray(); // link-local texts name interfaces of the namespace
    })) << "could not enter the namespace";

    // A route of group g as "gateway flags interface mtu"; "" when absent.
    const auto row = [&](std::size_t g, const std::string& destination) {
        for (const RouteInfo& r : groups.at(g).routeList)
            if (r.destination == destination)
                return r.gateway + " " + r.flags + " " + r.interface + " " + std::to_string(r.mtu);
        return std::string();
    };
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(groups[1].name, "Internet6");
    EXPECT_EQ(stats.default_gateway(), "10.20.0.254");
    // `ip route add` marks its routes as boot-time routes (S).
    EXPECT_EQ(row(0, "default"), "10.20.0.254 UGS d0 -1");
    EXPECT_EQ(row(0, "192.168.7").rfind("link#", 0), 0u);
    EXPECT_TRUE(row(0, "192.168.7").ends_with(" US d0 1400"));
    EXPECT_TRUE(row(0, "10.20.0.1").ends_with(" UH d0 -1")); // the local table, a host route
    EXPECT_EQ(row(1, "2001:db8:77::/48"), "2001:db8:5::fe UGS d0 -1");
    // The link-local network carries its interface as the scope.
    EXPECT_NE(row(1, "fe80::%d0/64"), "");
}

namespace {

// The kernel reader, run inside the namespace whichever thread asks.
class NamespacedDump : public RouteDump {
public:
    explicit NamespacedDump(const NetnsScope& ns) : m_ns(ns) {}
    std::atomic<int> fullDumps{0}, mainTableDumps{0};

    bool dump(const std::function<void(const RouteRecord&)>& each) override
    {
        ++fullDumps;
        bool ok = false;
        m_ns.run([&] { ok = m_inner.dump(each); });
        return ok;
    }
    bool dumpMainTable(std::uint8_t family,
                       const std::function<void(const RouteRecord&)>& each) override
    {
        ++mainTableDumps;
        bool ok = false;
        m_ns.run([&] { ok = m_inner.dumpMainTable(family, each); });
        return ok;
    }
    std::optional<std::string> interfaceName(std::uint32_t index) const override
    {
        return m_inner.interfaceName(index);
    }

private:
    const NetnsScope& m_ns;
    LinuxRouteDump m_inner;
};

} // namespace

// The default gateway follows route messages: the main table's lowest
// metric, IPv4 first, never another table's route, with no full dump.
TEST(RouteNamespace, DefaultGatewayFollowsTheKernel)
{
    NetnsScope ns;
    if (!ns.ok())
        GTEST_SKIP() << "cannot create a network namespace here (needs root and ip netns)";
    for (const char* command :
         {"link add d0 type veth peer name d1", "link set d1 up", "link set d0 up",
          "link add e0 type veth peer name e1", "link set e1 up", "link set e0 up",
          "addr add 10.20.0.1/24 dev d0", "addr add 10.30.0.1/24 dev e0",
          "-6 addr add 2001:db8:5::1/64 dev d0 nodad",
          "route add default via 10.20.0.9 table 100"}) // a VPN's table
        ASSERT_TRUE(ns.ip(command)) << command;

    std::unique_ptr<NetlinkMonitor> monitor;
    QThread* here = QThread::currentThread();
    ASSERT_TRUE(ns.run([&] {
        monitor = std::make_unique<NetlinkMonitor>(nullptr, 20ms);
        monitor->moveToThread(here);
    }));
    monitor->start();
    ASSERT_TRUE(monitor->isListening());
    auto dump = std::make_shared<NamespacedDump>(ns);
    RouteStats stats(dump, {}, monitor.get());
    stats.refresh();
    EXPECT_EQ(stats.default_gateway(), "N/A");

    const auto follows = [&](const std::string& command, const std::string& expected) {
        ASSERT_TRUE(ns.ip(command)) << command;
        EXPECT_TRUE(
            testsupport::waitUntil([&] { return stats.default_gateway() == expected; }, 3000ms))
            << command << ": " << stats.default_gateway();
    };
    follows("-6 route add default via 2001:db8:5::fe metric 10", "2001:db8:5::fe");
    follows("route add default via 10.20.0.254 metric 600", "10.20.0.254");
    follows("route add default via 10.20.0.253 metric 100", "10.20.0.253");
    follows("route replace default via 10.20.0.250 metric 100", "10.20.0.250");
    follows("route del default via 10.20.0.250 metric 100", "10.20.0.254");
    // IPv4 routes of a link that goes down vanish without a message.
    follows("route add default via 10.30.0.254 metric 1", "10.30.0.254");
    follows("link set e0 down", "10.20.0.254");
    follows("route del default via 10.20.0.254 metric 600", "2001:db8:5::fe");
    EXPECT_EQ(dump->fullDumps, 1);

    // Lost messages: the main table is read again for both families.
    follows("-6 route add default via 2001:db8:5::fd metric 5", "2001:db8:5::fd");
    stats.setDefault_gateway("stale");
    Q_EMIT monitor->routeMessagesLost();
    EXPECT_TRUE(testsupport::waitUntil([&] { return stats.default_gateway() == "2001:db8:5::fd"; },
                                       3000ms));
    EXPECT_EQ(dump->fullDumps, 1);
}
