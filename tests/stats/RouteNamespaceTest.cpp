#include "host/netlink/LinuxRouteDump.h"
#include "stats/RouteStats.h"

#include "NetnsScope.h"

#include <gtest/gtest.h>

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
    std::shared_ptr<const RouteStats::Snapshot> snapshot;
    ASSERT_TRUE(ns.run([&] {
        stats.refresh();
        snapshot = stats.snapshot();
    })) << "could not enter the namespace";

    // A route of group g as "gateway flags interface mtu"; "" when absent.
    const auto row = [&](std::size_t g, const std::string& destination) {
        for (const RouteInfo& r : snapshot->routeArray.at(g).routeList)
            if (r.destination == destination)
                return r.gateway + " " + r.flags + " " + r.interface + " " + std::to_string(r.mtu);
        return std::string();
    };
    ASSERT_EQ(snapshot->routeArray.size(), 2u);
    EXPECT_EQ(snapshot->routeArray[1].name, "Internet6");
    EXPECT_EQ(snapshot->default_gateway, "10.20.0.254");
    // `ip route add` marks its routes as boot-time routes (S).
    EXPECT_EQ(row(0, "default"), "10.20.0.254 UGS d0 -1");
    EXPECT_EQ(row(0, "192.168.7").rfind("link#", 0), 0u);
    EXPECT_TRUE(row(0, "192.168.7").ends_with(" US d0 1400"));
    EXPECT_TRUE(row(0, "10.20.0.1").ends_with(" UH d0 -1")); // the local table, a host route
    EXPECT_EQ(row(1, "2001:db8:77::/48"), "2001:db8:5::fe UGS d0 -1");
    // The link-local network carries its interface as the scope.
    EXPECT_NE(row(1, "fe80::%d0/64"), "");
}
