#include "host/dbus/NetworkManagerReachability.h"

#include "DBusMockBus.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <QDBusConnection>
#include <QTemporaryDir>

namespace {

using State = Reachability::State;

const QByteArray kV4Header =
    "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n";
const QByteArray kV4Default = "eth0\t00000000\t010200C0\t0003\t0\t0\t0\t00000000\t0\t0\t0\n";
const QByteArray kV4Subnet = "eth0\t000200C0\t00000000\t0001\t0\t0\t0\t00FFFFFF\t0\t0\t0\n";
// The kernel's unreachable default on lo, and a real default through eth0.
const QByteArray kV6Unreachable = "00000000000000000000000000000000 00 "
                                  "00000000000000000000000000000000 00 "
                                  "00000000000000000000000000000000 ffffffff 00000001 00000000 "
                                  "00200200       lo\n";
const QByteArray kV6Default = "00000000000000000000000000000000 00 "
                              "00000000000000000000000000000000 00 "
                              "fd000000000000000000000000000001 00000400 00000002 00000000 "
                              "00000003     eth0\n";

} // namespace

TEST(Reachability, ADefaultRouteThatIsUpAndNotUnreachableCounts)
{
    const QByteArray v4Default = kV4Header + kV4Subnet + kV4Default;
    const QByteArray v4Local = kV4Header + kV4Subnet;
    const QByteArray v4Down =
        kV4Header + "eth0\t00000000\t010200C0\t0002\t0\t0\t0\t00000000\t0\t0\t0\n";
    const QByteArray v6Default = kV6Unreachable + kV6Default;
    EXPECT_EQ(NetworkManagerReachability::defaultRouteIn(&v4Default, nullptr), true);
    EXPECT_EQ(NetworkManagerReachability::defaultRouteIn(&v4Local, &kV6Unreachable), false);
    EXPECT_EQ(NetworkManagerReachability::defaultRouteIn(&v4Down, nullptr), false);
    EXPECT_EQ(NetworkManagerReachability::defaultRouteIn(nullptr, &v6Default), true);
    EXPECT_EQ(NetworkManagerReachability::defaultRouteIn(nullptr, nullptr), std::nullopt);
    const QByteArray junk = "\n\nnot a route table\n\x01\x02";
    EXPECT_EQ(NetworkManagerReachability::defaultRouteIn(&junk, &junk), false);
}

class NetworkManagerMock : public MockBusTest {
protected:
    void setConnectivity(unsigned value)
    {
        mockCall("org.freedesktop.NetworkManager", "/org/freedesktop", "SetConnectivity", {value});
    }
    void writeRoutes(const QByteArray& v4) { testsupport::writeFile(proc.path(), "net/route", v4); }

    QTemporaryDir proc;
};

TEST_F(NetworkManagerMock, FollowsNetworkManagersConnectivityWithoutWaiting)
{
    writeRoutes(kV4Header + kV4Default); // must not matter while NetworkManager knows
    startService("org.freedesktop.NetworkManager", {"--template", "networkmanager"});
    NetworkManagerReachability reach(connection, proc.path());
    EXPECT_LT(
        spinUntil([&] { return reach.connectivity() == NetworkManagerReachability::Full; }, 3000),
        50);
    EXPECT_EQ(reach.state(), State::Reachable);

    for (unsigned limited : {NetworkManagerReachability::Portal, NetworkManagerReachability::None,
                             NetworkManagerReachability::Limited}) {
        setConnectivity(limited);
        spinUntil([&] { return reach.connectivity() == limited; }, 3000);
        EXPECT_EQ(reach.state(), State::Unreachable) << limited;
    }
    // Connectivity checking off: NetworkManager does not know; the route decides.
    setConnectivity(NetworkManagerReachability::Unknown);
    spinUntil([&] { return reach.connectivity() == NetworkManagerReachability::Unknown; }, 3000);
    EXPECT_EQ(reach.state(), State::Reachable);
    writeRoutes(kV4Header + kV4Subnet);
    EXPECT_EQ(reach.state(), State::Unreachable);

    setConnectivity(NetworkManagerReachability::Full);
    spinUntil([&] { return reach.state() == State::Reachable; }, 3000);
    EXPECT_EQ(reach.state(), State::Reachable);

    // NetworkManager goes away: back to the routes, and to "unknown" without them.
    stopService();
    spinUntil([&] { return reach.connectivity() == NetworkManagerReachability::Unknown; }, 3000);
    EXPECT_EQ(reach.state(), State::Unreachable);
    QFile::remove(proc.filePath("net/route"));
    EXPECT_EQ(reach.state(), State::Unknown);
}

TEST_F(NetworkManagerMock, WithoutNetworkManagerTheDefaultRouteDecides)
{
    writeRoutes(kV4Header + kV4Default);
    NetworkManagerReachability reach(connection, proc.path());
    spinUntil([&] { return reach.settled(); }, 3000);
    EXPECT_TRUE(reach.settled());
    EXPECT_EQ(reach.state(), State::Reachable);

    NetworkManagerReachability noBus(QDBusConnection("none"), proc.path());
    EXPECT_TRUE(noBus.settled());
    EXPECT_EQ(noBus.state(), State::Reachable);
}
