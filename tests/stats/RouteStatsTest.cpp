#include "stats/RouteStats.h"

#include "RouteRecordBuilders.h"

#include <gtest/gtest.h>

#include <map>

using namespace routebuild;

namespace {

class FakeRouteDump : public RouteDump {
public:
    std::vector<RouteRecord> routes;
    std::map<std::uint32_t, std::string> names;
    bool fails = false;

    bool dump(const std::function<void(const RouteRecord&)>& each) override
    {
        for (const RouteRecord& r : routes)
            each(r);
        return !fails;
    }
    std::optional<std::string> interfaceName(std::uint32_t index) const override
    {
        auto it = names.find(index);
        return it == names.end() ? std::nullopt : std::optional<std::string>(it->second);
    }
};

constexpr std::int64_t Now = 1'700'000'000;

struct Fixture {
    std::shared_ptr<FakeRouteDump> dump = std::make_shared<FakeRouteDump>();
    RouteStats stats{dump, [] { return Now; }};

    // Group g's routes as "destination gateway flags interface refs use expire mtu" lines.
    std::vector<std::string> rows(std::size_t g = 0) const
    {
        std::vector<std::string> out;
        const std::vector<RouteGroup> groups = stats.routeArray();
        for (const RouteInfo& r : groups.at(g).routeList)
            out.push_back(r.destination + " " + r.gateway + " " + r.flags + " " + r.interface +
                          " " + std::to_string(r.refs) + " " + std::to_string(r.use) + " " +
                          std::to_string(r.expire) + " " + std::to_string(r.mtu));
        return out;
    }
};

const RouteSockaddr kNoMask;

RouteRecord v4(const char* dst, const char* gw, const char* mask, std::uint32_t flags,
               std::uint32_t index = 2)
{
    const RouteSockaddr g = inet(gw), m = mask ? inet(mask) : RouteSockaddr{};
    return route(inet(dst), &g, mask ? &m : nullptr, flags, index);
}

} // namespace

TEST(RouteStats, ConvertsRecordsIntoTexts)
{
    Fixture f;
    f.dump->names = {{2, "eth0"}};
    const RouteSockaddr l2 = link(2), m24 = inet("255.255.255.0");
    RouteRecord gw = v4("0.0.0.0", "192.168.1.1", "0.0.0.0", 0x1 | 0x2 | 0x800 | 0x10000);
    gw.refcnt = 3;
    gw.use = 120;
    gw.mtu = 1500;
    RouteRecord noGateway = route(inet("10.9.0.0"), nullptr, nullptr, 0x1, 9); // index 9 unknown
    f.dump->routes = {gw, route(inet("192.168.1.0"), &l2, &m24, 0x1, 2), noGateway,
                      v4("10.0.0.0", "10.0.0.1", "255.0.0.0", 0x3, 0)};
    f.stats.refresh();

    ASSERT_EQ(f.stats.routeArray().size(), 1u);
    // An interface that cannot be named, or index 0, is empty, not the
    // previous route's; so is a missing gateway.
    EXPECT_EQ(f.rows(),
              (std::vector<std::string>{"default 192.168.1.1 UGSc eth0 3 120 -1 1500",
                                        "192.168.1 link#2 U eth0 -1 -1 -1 -1",
                                        "10.9  U  -1 -1 -1 -1", "10 10.0.0.1 UG  -1 -1 -1 -1"}));
    EXPECT_EQ(f.stats.default_gateway(), "192.168.1.1");
}

TEST(RouteStats, ClonedRoutesMtuAndExpiry)
{
    Fixture f;
    f.dump->names = {{2, "eth0"}};
    RouteRecord hidden = v4("10.0.0.5", "10.0.0.1", nullptr, 0x1 | 0x4 | routeflag::WasCloned);
    hidden.parentflags = routeflag::PrCloning;
    RouteRecord shown = v4("10.0.0.6", "10.0.0.1", nullptr, 0x1 | 0x4 | routeflag::WasCloned);
    shown.parentflags = routeflag::Static;
    shown.expire = Now + 90;
    RouteRecord expired = v4("10.0.0.7", "10.0.0.1", nullptr, 0x1 | 0x4);
    expired.expire = Now - 5;
    RouteRecord dueNow = v4("10.0.0.8", "10.0.0.1", nullptr, 0x1 | 0x4);
    dueNow.expire = Now;
    f.dump->routes = {hidden, shown, expired, dueNow};
    f.stats.refresh();

    // No MTU and no cache information read -1; an expiry not in the future too.
    EXPECT_EQ(f.rows(), (std::vector<std::string>{"10.0.0.6 10.0.0.1 UHW eth0 -1 -1 90 -1",
                                                  "10.0.0.7 10.0.0.1 UH eth0 -1 -1 -1 -1",
                                                  "10.0.0.8 10.0.0.1 UH eth0 -1 -1 -1 -1"}));
}

TEST(RouteStats, GroupsByConsecutiveFamilyRunsAndIpv4DefaultWins)
{
    Fixture f;
    const RouteSockaddr gw6 = inet6("fe80::1");
    const RouteSockaddr m64 = inet6Mask(64);
    f.dump->routes = {
        v4("0.0.0.0", "192.168.1.1", nullptr, 0x3),       v4("10.0.0.9", "10.0.0.1", nullptr, 0x5),
        route(inet6("2001:db8::"), &gw6, &m64, 0x3),      route(inet6("::"), &gw6, &kNoMask, 0x3),
        v4("172.16.0.0", "10.0.0.1", "255.255.0.0", 0x1), route(link(4), nullptr, nullptr, 0x1),
        route(raw(23, {1, 2}), nullptr, nullptr, 0x1),
    };
    f.stats.refresh();
    std::vector<std::string> names;
    for (const RouteGroup& g : f.stats.routeArray())
        names.push_back(g.name);
    EXPECT_EQ(names, (std::vector<std::string>{"Internet", "Internet6", "Internet",
                                               "Protocol Family 18", "IPX"}));
    EXPECT_EQ(f.stats.routeArray()[0].routeList.size(), 2u);
    EXPECT_EQ(f.stats.routeArray()[2].routeList.at(0).destination, "172.16");
    // The IPv4 default route gives the gateway although an IPv6 one came later.
    EXPECT_EQ(f.stats.routeArray()[1].routeList.at(1).destination, "default");
    EXPECT_EQ(f.stats.default_gateway(), "192.168.1.1");
}

TEST(RouteStats, FailedReadingLeavesNothing)
{
    Fixture f;
    f.dump->routes = {v4("0.0.0.0", "192.168.1.1", nullptr, 0x3)};
    f.stats.refresh();
    EXPECT_EQ(f.stats.default_gateway(), "192.168.1.1");
    f.dump->fails = true;
    f.stats.refreshAsync(); // the same refresh, on the snapshot worker
    f.stats.waitForAsync();
    EXPECT_TRUE(f.stats.routeArray().empty());
    EXPECT_EQ(f.stats.default_gateway(), "N/A");
    // A table with no default route reads "N/A" as well.
    f.dump->fails = false;
    f.dump->routes = {v4("10.0.0.0", "10.0.0.1", "255.0.0.0", 0x3)};
    f.stats.refresh();
    EXPECT_EQ(f.stats.default_gateway(), "N/A");
    EXPECT_EQ(f.stats.routeArray().size(), 1u);
}

// A snapshot keeps kernel-shaped routes in a compact form and writes their
// texts on demand; any other record keeps texts made at once. The two must
// agree: each route is read once as it is and once with its destination's
// length 4 bytes longer (zeros, which no text reads), forcing the second form.
TEST(RouteStats, CompactRoutesReadLikeTheirTexts)
{
    const RouteSockaddr gw4 = inet("10.0.0.1"), gw6 = inet6("fe80::1"), l3 = link(3);
    const RouteSockaddr d6 = inet6("2001:db8:1::"), ll = inet6("fe80:3fff::"); // no such interface
    const RouteSockaddr host6 = inet6("2001:db8::7"), mcast = inet6("ff02:3::fb");
    const RouteSockaddr m64 = inet6Mask(64), m0 = inet6Mask(0);
    RouteRecord expiring = v4("192.168.4.0", "10.0.0.1", "255.255.254.0", 0x3, 3);
    expiring.expire = Now + 30;
    expiring.mtu = 1280;
    expiring.refcnt = 2;
    const std::vector<RouteRecord> routes = {
        v4("0.0.0.0", "10.0.0.1", "0.0.0.0", 0x803),
        expiring,
        v4("10.1.0.0", "10.0.0.1", "255.255.0.0", 0x3),
        v4("172.16.5.9", "10.0.0.1", "255.255.255.255", 0x7),
        route(inet("169.254.0.0"), &l3, nullptr, 0x1, 3),
        route(inet("127.0.0.0"), nullptr, nullptr, 0x1, 0),
        route(d6, &gw6, &kNoMask, 0x3, 3), // an IPv6 route with a mask of length 0
        route(ll, &l3, &m64, 0x1, 3),
        route(host6, &gw4, nullptr, 0x7, 3), // an IPv4 next hop for an IPv6 route
        route(mcast, &l3, nullptr, 0x800001, 3),
        route(inet6("::"), &gw6, &m0, 0x1003, 7),
    };
    Fixture compact, texts;
    compact.dump->names = texts.dump->names = {{3, "wlan0"}};
    for (const RouteRecord& r : routes) {
        RouteRecord odd = r;
        odd.sa[RouteRecord::Destination].bytes[0] += 4;
        compact.dump->routes.push_back(r);
        texts.dump->routes.push_back(odd);
    }
    compact.stats.refresh();
    texts.stats.refresh();
    ASSERT_EQ(compact.stats.routeArray().size(), 2u);
    for (std::size_t g = 0; g < 2; ++g)
        EXPECT_EQ(compact.rows(g), texts.rows(g));
    // And both read as the listing has them.
    EXPECT_EQ(compact.rows(0).at(1), "192.168.4/23 10.0.0.1 UG wlan0 2 -1 30 1280");
    EXPECT_EQ(compact.rows(1).at(1), "fe80::%16383/64 link#3 U wlan0 -1 -1 -1 -1");
    // Only the mask of length 0 (a BSD kernel's, never Linux's) has no compact form.
    EXPECT_EQ(compact.stats.snapshot()->keptAsTexts(), 1u);
    EXPECT_EQ(texts.stats.snapshot()->keptAsTexts(), routes.size());
}
