#include "host/netlink/LinuxRouteDump.h"
#include "stats/RouteStats.h"

#include "NetnsScope.h"

#include <gtest/gtest.h>

namespace {
const RouteInfo* find(const RouteGroup& group, const std::string& destination)
{
    for (const RouteInfo& r : group.routeList)
        if (r.destination == destination)
            return &r;
    return nullptr;
}
} // namespace

TEST(RouteNamespace, RoutesAddedInPrivateNamespaceAppear)
{
    NetnsScope ns;
    if (!ns.ok())
        GTEST_SKIP() << "cannot create a network namespace here (needs root and ip netns)";
    ASSERT_TRUE(ns.ip("link add d0 type veth peer name d1"));
    ASSERT_TRUE(ns.ip("link set d1 up"));
    ASSERT_TRUE(ns.ip("link set d0 up"));
    ASSERT_TRUE(ns.ip("addr add 10.20.0.1/24 dev d0"));
    ASSERT_TRUE(ns.ip("-6 addr add 2001:db8:5::1/64 dev d0 nodad"));
    ASSERT_TRUE(ns.ip("route add 10.30.0.0/16 via 10.20.0.254"));
    ASSERT_TRUE(ns.ip("route add 192.168.7.0/24 dev d0 mtu 1400 proto static"));
    ASSERT_TRUE(ns.ip("route add default via 10.20.0.254"));
    ASSERT_TRUE(ns.ip("-6 route add 2001:db8:77::/48 via 2001:db8:5::fe"));

    RouteStats stats(std::make_shared<LinuxRouteDump>());
    std::vector<RouteGroup> groups;
    std::string gateway;
    ASSERT_TRUE(ns.run([&] {
        stats.refresh();
        groups = stats.routeArray();
        gateway = stats.default_gateway();
    })) << "could not enter the namespace";

    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(groups[0].name, "Internet");
    EXPECT_EQ(groups[1].name, "Internet6");
    EXPECT_EQ(gateway, "10.20.0.254");

    const RouteInfo* def = find(groups[0], "default");
    ASSERT_NE(def, nullptr);
    EXPECT_EQ(def->gateway, "10.20.0.254");
    EXPECT_EQ(def->flags, "UGS"); // `ip route add` marks its routes as boot-time routes
    EXPECT_EQ(def->interface, "d0");

    const RouteInfo* via = find(groups[0], "10.30/16");
    ASSERT_NE(via, nullptr);
    EXPECT_EQ(via->gateway, "10.20.0.254");
    EXPECT_EQ(via->flags, "UGS");

    const RouteInfo* direct = find(groups[0], "192.168.7");
    ASSERT_NE(direct, nullptr);
    EXPECT_EQ(direct->gateway.rfind("link#", 0), 0u);
    EXPECT_EQ(direct->flags, "US");
    EXPECT_EQ(direct->mtu, 1400);
    EXPECT_EQ(direct->interface, "d0");

    const RouteInfo* connected = find(groups[0], "10.20/24");
    ASSERT_NE(connected, nullptr);
    EXPECT_EQ(connected->flags, "U");
    const RouteInfo* local = find(groups[0], "10.20.0.1"); // the local table, a host route
    ASSERT_NE(local, nullptr);
    EXPECT_EQ(local->flags, "UH");

    const RouteInfo* v6 = find(groups[1], "2001:db8:77::/48");
    ASSERT_NE(v6, nullptr);
    EXPECT_EQ(v6->gateway, "2001:db8:5::fe");
    EXPECT_EQ(v6->flags, "UGS");
    EXPECT_EQ(v6->interface, "d0");
    EXPECT_NE(find(groups[1], "2001:db8:5::/64"), nullptr);
    // The link-local network carries its interface as the scope.
    EXPECT_NE(find(groups[1], "fe80::%d0/64"), nullptr);
}
