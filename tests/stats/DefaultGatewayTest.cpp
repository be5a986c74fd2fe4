#include "stats/DefaultGateway.h"

#include "RouteRecordBuilders.h"

#include <gtest/gtest.h>

using namespace routebuild;

namespace {

using Kind = DefaultRouteChange::Kind;

// A default route through gateway (an address with a colon is IPv6).
RouteRecord defaultVia(const char* gateway, std::uint32_t metric,
                       std::uint32_t table = routetable::Main, std::uint32_t flags = 0x3)
{
    const bool v6 = std::string(gateway).find(':') != std::string::npos;
    const RouteSockaddr gw = v6 ? inet6(gateway) : inet(gateway);
    const RouteSockaddr mask = v6 ? inet6Mask(0) : inet("0.0.0.0");
    RouteRecord r = route(v6 ? inet6("::") : inet("0.0.0.0"), &gw, &mask, flags, 2);
    r.priority = metric;
    r.table = table;
    return r;
}

DefaultRouteChange change(Kind kind, const RouteRecord& r)
{
    return DefaultRouteChange{kind, r};
}

} // namespace

TEST(DefaultGateway, MainTableLowestMetricIpv4First)
{
    DefaultGateway g;
    EXPECT_EQ(g.text(), "N/A");
    g.apply(change(Kind::Added, defaultVia("fe80::1", 1)));
    EXPECT_EQ(g.text(), "fe80::1"); // IPv6 only while there is no IPv4 default
    g.apply(change(Kind::Added, defaultVia("10.0.0.1", 600)));
    g.apply(change(Kind::Added, defaultVia("10.0.0.2", 100)));
    g.apply(change(Kind::Added, defaultVia("10.0.0.3", 100))); // a tie: the first stays
    EXPECT_EQ(g.text(), "10.0.0.2");
    // Another table (a VPN's), a blackhole, a route that is not a default: ignored.
    g.apply(change(Kind::Added, defaultVia("10.9.9.9", 0, 51820)));
    g.apply(change(Kind::Added, defaultVia("10.8.8.8", 0, routetable::Main, 0x1001)));
    const RouteSockaddr gw = inet("10.7.7.7"), m8 = inet("255.0.0.0");
    g.apply(change(Kind::Added, route(inet("10.0.0.0"), &gw, &m8, 0x3)));
    EXPECT_EQ(g.text(), "10.0.0.2");

    g.apply(change(Kind::Removed, defaultVia("10.0.0.2", 100)));
    EXPECT_EQ(g.text(), "10.0.0.3");
    g.apply(change(Kind::Removed, defaultVia("10.0.0.3", 100)));
    g.apply(change(Kind::Removed, defaultVia("10.0.0.1", 600)));
    EXPECT_EQ(g.text(), "fe80::1");
}

TEST(DefaultGateway, ReplaceTakesTheSlotOfTheSameMetric)
{
    DefaultGateway g;
    g.apply(change(Kind::Added, defaultVia("10.0.0.1", 100)));
    g.apply(change(Kind::Added, defaultVia("10.0.0.2", 200)));
    g.apply(change(Kind::Replaced, defaultVia("10.0.0.5", 100)));
    EXPECT_EQ(g.text(), "10.0.0.5");
    // Removing the replaced route changes nothing: it is gone already.
    g.apply(change(Kind::Removed, defaultVia("10.0.0.1", 100)));
    EXPECT_EQ(g.text(), "10.0.0.5");
    // An unreachable default replacing it forwards nothing: the next one wins.
    g.apply(change(Kind::Replaced, defaultVia("10.0.0.5", 100, routetable::Main, 0x9)));
    EXPECT_EQ(g.text(), "10.0.0.2");
}

TEST(DefaultGateway, ChangesDuringAReadingAreKept)
{
    DefaultGateway g;
    g.apply(change(Kind::Added, defaultVia("10.0.0.1", 100)));
    g.apply(change(Kind::Added, defaultVia("2001:db8::1", 100)));

    // A reading of IPv4 starts; meanwhile a better route comes and one goes.
    const std::uint64_t token = g.beginReading();
    g.apply(change(Kind::Added, defaultVia("10.0.0.9", 5)));
    g.apply(change(Kind::Removed, defaultVia("10.0.0.7", 50)));
    // The reading saw 10.0.0.7 (removed since) but not 10.0.0.9, and not 10.0.0.1.
    g.finishReading(token, routefamily::Inet,
                    {DefaultGateway::entryFor(defaultVia("10.0.0.7", 50))});
    EXPECT_EQ(g.text(), "10.0.0.9");
    g.apply(change(Kind::Removed, defaultVia("10.0.0.9", 5)));
    // 10.0.0.1 was not in the reading, 10.0.0.7 was removed: only IPv6 remains.
    EXPECT_EQ(g.text(), "2001:db8::1");

    // A failed reading of one family keeps what is known; a failed full one clears it.
    g.finishReading(g.beginReading(), routefamily::Inet6, {}, false);
    EXPECT_EQ(g.text(), "2001:db8::1");
    g.finishReading(g.beginReading(), 0, {}, false);
    EXPECT_EQ(g.text(), "N/A");
    // Once no reading runs, changes are no longer kept for replay.
    g.apply(change(Kind::Added, defaultVia("10.0.0.4", 1)));
    g.finishReading(g.beginReading(), routefamily::Inet, {});
    EXPECT_EQ(g.text(), "N/A");
}
