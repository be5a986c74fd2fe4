// The change monitor and the cached interface roles, driven by real link
// changes in a private network namespace that only helper threads enter, so
// the rest of the test process keeps the host's network.
#include "host/netlink/NetlinkMonitor.h"
#include "host/settings/Defaults.h"
#include "host/sysfs/CachedInterfaceRoles.h"
#include "host/system/CachedInterfaceAddresses.h"
#include "support/TestSupport.h"

#include "stats/NetnsScope.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace std::chrono_literals;

// A monitor whose socket was opened inside the private namespace and is
// watched from this thread's event loop.
class NetlinkMonitorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Loopback starts down, so bringing it up is the change the tests make.
        if (!ns.ok() || !ns.ip("link set lo down"))
            GTEST_SKIP() << "cannot make a network namespace here";
        QThread* here = QThread::currentThread();
        ns.run([&] {
            monitor = std::make_unique<NetlinkMonitor>(nullptr, 100ms);
            monitor->moveToThread(here);
        });
        monitor->start();
        ASSERT_TRUE(monitor->isListening());
    }
    bool loopbackUp() { return ns.ip("link set lo up"); }

    NetnsScope ns;
    std::unique_ptr<NetlinkMonitor> monitor;
};

TEST_F(NetlinkMonitorTest, ReportsEachKindOfChangeOncePerBurst)
{
    QSignalSpy links(monitor.get(), &NetlinkMonitor::linksChanged);
    QSignalSpy addresses(monitor.get(), &NetlinkMonitor::addressesChanged);
    QSignalSpy routes(monitor.get(), &NetlinkMonitor::routesChanged);
    // Bringing loopback up changes its link, adds 127.0.0.1 and ::1 and
    // their local routes: several messages of each kind at once.
    ASSERT_TRUE(loopbackUp());
    ASSERT_TRUE(testsupport::waitUntil(
        [&] { return links.size() && addresses.size() && routes.size(); }, 3000ms));
    QTest::qWait(300); // past the coalescing interval: no second signal
    EXPECT_EQ(links.size(), 1);
    EXPECT_EQ(addresses.size(), 1);
    EXPECT_EQ(routes.size(), 1);

    // A new link only: no address or route signal follows it.
    ASSERT_TRUE(ns.ip("link add wvt0 type veth peer name wvt1"));
    ASSERT_TRUE(testsupport::waitUntil([&] { return links.size() == 2; }, 3000ms));
    QTest::qWait(300);
    EXPECT_EQ(links.size(), 2);
    EXPECT_EQ(addresses.size(), 1);
}

TEST_F(NetlinkMonitorTest, CachedRolesFollowLinkChangesAndSettings)
{
    QTemporaryDir sys;
    testsupport::writeFile(sys.path(), "sys/class/net/eth0/uevent", "INTERFACE=eth0\n");
    CachedInterfaceRoles roles(monitor.get(), sys.path().toStdString());
    EXPECT_EQ(roles.wifiInterface(), "");
    EXPECT_EQ(roles.cellularInterface(), "");

    // Interfaces appear in sysfs, but no link message yet: the cache holds.
    testsupport::writeFile(sys.path(), "sys/class/net/wlp2s0/wireless/.keep", "");
    testsupport::writeFile(sys.path(), "sys/class/net/usb0/uevent", "DEVTYPE=wwan\n");
    EXPECT_EQ(roles.wifiInterface(), "");

    QSignalSpy links(monitor.get(), &NetlinkMonitor::linksChanged);
    ASSERT_TRUE(loopbackUp());
    ASSERT_TRUE(testsupport::waitUntil([&] { return links.size() > 0; }, 3000ms));
    EXPECT_EQ(roles.wifiInterface(), "wlp2s0");
    EXPECT_EQ(roles.cellularInterface(), "usb0");

    // The settings still win over the cached choice, at once.
    Defaults& defaults = Defaults::standardUserDefaults();
    defaults.setObject(" eth0 ", InterfaceRoles::WifiKey);
    EXPECT_EQ(roles.wifiInterface(), "eth0");
    defaults.removeObjectForKey(InterfaceRoles::WifiKey);
    EXPECT_EQ(roles.wifiInterface(), "wlp2s0");
}

// Counts reads; a failing read gives no list.
struct CountingAddresses : InterfaceAddresses {
    int reads = 0;
    bool fail = false;
    std::optional<std::vector<InterfaceAddress>> list() override
    {
        ++reads;
        if (fail)
            return std::nullopt;
        InterfaceAddress a;
        a.name = "eth" + std::to_string(reads);
        return std::vector<InterfaceAddress>{a};
    }
};

TEST_F(NetlinkMonitorTest, CachedAddressesAreReadAgainOnlyAfterAChange)
{
    auto source = std::make_shared<CountingAddresses>();
    CachedInterfaceAddresses addresses(source, monitor.get());
    source->fail = true; // a failure is never kept
    EXPECT_FALSE(addresses.list());
    source->fail = false;
    EXPECT_EQ(addresses.list()->at(0).name, "eth2");
    EXPECT_EQ(addresses.list()->at(0).name, "eth2");
    EXPECT_EQ(source->reads, 2);

    QSignalSpy changes(monitor.get(), &NetlinkMonitor::addressesChanged);
    ASSERT_TRUE(loopbackUp());
    ASSERT_TRUE(testsupport::waitUntil([&] { return changes.size() > 0; }, 3000ms));
    EXPECT_EQ(addresses.list()->at(0).name, "eth3");
    EXPECT_EQ(source->reads, 3);
}

TEST(CachedInterfaceRolesTest, WithoutAListeningMonitorLooksEveryTime)
{
    QTemporaryDir sys;
    testsupport::writeFile(sys.path(), "sys/class/net/eth0/uevent", "INTERFACE=eth0\n");
    CachedInterfaceRoles roles(nullptr, sys.path().toStdString());
    EXPECT_EQ(roles.wifiInterface(), "");
    testsupport::writeFile(sys.path(), "sys/class/net/wlan0/phy80211", "");
    EXPECT_EQ(roles.wifiInterface(), "wlan0");
}

} // namespace
