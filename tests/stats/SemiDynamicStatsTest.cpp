#include "stats/SemiDynamicStats.h"

#include "host/dbus/MobileCountryCodes.h"
#include "host/system/StatvfsVolumeInfo.h"
#include "support/TestSupport.h"
#include "TornReads.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <net/if.h>
#include <QTemporaryDir>

#include <atomic>

namespace {

class FakeAddresses : public InterfaceAddresses {
public:
    std::optional<std::vector<InterfaceAddress>> entries = std::vector<InterfaceAddress>{};
    std::optional<std::vector<InterfaceAddress>> list() override { return entries; }
};

class FakeVolume : public VolumeInfo {
public:
    std::optional<VolumeSpace> space;
    std::optional<VolumeSpace> spaceFor(const std::string&) override { return space; }
};

class FakeCarrier : public CarrierService {
public:
    CarrierReading reading;
    CarrierReading read() override { return reading; }
};

InterfaceAddress ipv4(const std::string& name, const char* dotted, unsigned flags = IFF_UP)
{
    InterfaceAddress a;
    a.name = name;
    a.kind = InterfaceAddress::Kind::Ipv4;
    a.flags = flags;
    inet_pton(AF_INET, dotted, &a.ipv4);
    return a;
}

InterfaceAddress linkEntry(const std::string& name, std::vector<std::uint8_t> bytes,
                           bool ether = true)
{
    InterfaceAddress a;
    a.name = name;
    a.kind = InterfaceAddress::Kind::Link;
    a.ethernet = ether;
    a.address = std::move(bytes);
    return a;
}

// A collector over fakes (or the address source given) and a sysfs tree where
// wlan0 (the first wireless interface by name) is the Wi-Fi role and wwan0 the
// cellular one.
struct Fixture {
    QTemporaryDir sys;
    std::shared_ptr<FakeAddresses> addresses = std::make_shared<FakeAddresses>();
    std::shared_ptr<FakeVolume> volume = std::make_shared<FakeVolume>();
    std::shared_ptr<FakeCarrier> carrier = std::make_shared<FakeCarrier>();
    std::unique_ptr<SemiDynamicStats> stats;

    explicit Fixture(std::shared_ptr<InterfaceAddresses> source = nullptr)
    {
        add("eth0");
        add("wlan0", true);
        add("wlx0", true);
        add("wwan0"); // cellular by its name
        stats = std::make_unique<SemiDynamicStats>(SemiDynamicStats::Sources{
            source ? source : addresses, std::make_shared<InterfaceRoles>(sys.path().toStdString()),
            volume, carrier, [] { return QStringLiteral("/nowhere/Documents"); }});
    }
    void add(const QString& name, bool wireless = false)
    {
        const QString dir = "sys/class/net/" + name;
        testsupport::writeFile(sys.path(), dir + "/uevent", "INTERFACE=" + name.toUtf8() + "\n");
        if (wireless)
            testsupport::writeFile(sys.path(), dir + "/wireless/uevent", "");
    }
};

} // namespace

TEST(SemiDynamicAddresses, RolesPickTheirInterfacesAndNothingElse)
{
    Fixture f;
    EXPECT_EQ(f.stats->wifiIp(), "N/A"); // before the first refresh
    f.addresses->entries =
        std::vector<InterfaceAddress>{ipv4("lo", "127.0.0.1", IFF_UP | IFF_LOOPBACK),
                                      linkEntry("eth0", {1, 2, 3, 4, 5, 6}),
                                      ipv4("eth0", "10.0.0.2"),
                                      linkEntry("wlan0", {0x00, 0x1a, 0x2b, 0x3c, 0x4d, 0x5e}),
                                      ipv4("wlan0", "192.168.1.20"),
                                      ipv4("wlx0", "192.168.9.9")};
    f.stats->refreshAddressesSync();
    EXPECT_EQ(f.stats->wifiIp(), "192.168.1.20");
    EXPECT_EQ(f.stats->wifiMac(), "00:1a:2b:3c:4d:5e");
    EXPECT_TRUE(f.stats->wifiConnected());
    EXPECT_EQ(f.stats->cellIp(), "N/A");
    EXPECT_EQ(f.stats->cellMac(), "N/A");
    EXPECT_FALSE(f.stats->cellConnected());
}

TEST(SemiDynamicAddresses, LoopbackLaterAddressZeroMacAndNonEthernet)
{
    Fixture f;
    f.addresses->entries = std::vector<InterfaceAddress>{
        ipv4("wlan0", "127.0.0.2", IFF_UP | IFF_LOOPBACK), // never taken
        linkEntry("wlan0", {}),                            // zero-length address
        linkEntry("wwan0", {0xaa, 0xbb}, false),           // not Ethernet: ignored
    };
    f.stats->refreshAddressesSync();
    EXPECT_EQ(f.stats->wifiIp(), "N/A");
    EXPECT_EQ(f.stats->wifiMac(), "");
    EXPECT_EQ(f.stats->cellMac(), "N/A");

    f.addresses->entries = std::vector<InterfaceAddress>{
        ipv4("wlan0", "192.168.1.20"), ipv4("wwan0", "100.64.0.9"), ipv4("wlan0", "192.168.1.21")};
    f.stats->refreshAddressesSync();
    EXPECT_EQ(f.stats->wifiIp(), "192.168.1.21"); // the later one wins
    EXPECT_EQ(f.stats->cellIp(), "100.64.0.9");
    EXPECT_TRUE(f.stats->cellConnected());
    EXPECT_EQ(f.stats->wifiMac(), "N/A"); // reset by the refresh

    // An unreadable list resets everything.
    f.addresses->entries.reset();
    f.stats->refreshAddressesSync();
    EXPECT_EQ(f.stats->wifiIp(), "N/A");
    EXPECT_FALSE(f.stats->wifiConnected());
    EXPECT_FALSE(f.stats->cellConnected());
}

TEST(SemiDynamicVolume, SinglePrecisionAndKeptOnFailure)
{
    Fixture f;
    f.volume->space = VolumeSpace{1073741823ull, 1000ull};
    f.stats->refreshTotalDiskSpaceSync();
    EXPECT_EQ(f.stats->size(), 1073741824.0);
    EXPECT_EQ(f.stats->freeSize(), 1000.0);
    f.volume->space.reset();
    f.stats->refreshTotalDiskSpaceSync();
    EXPECT_EQ(f.stats->size(), 1073741824.0);

    // A documents folder not yet made reads its nearest parent.
    QTemporaryDir dir;
    StatvfsVolumeInfo info;
    const auto space = info.spaceFor(dir.path().toStdString());
    const auto missing = info.spaceFor(dir.path().toStdString() + "/not/yet/made");
    ASSERT_TRUE(space && missing);
    EXPECT_GT(space->size, 0u);
    EXPECT_EQ(missing->size, space->size);
}

TEST(SemiDynamicCarrier, ServiceCarrierAndNone)
{
    Fixture f;
    CarrierDetails d;
    d.carrierName = "Example Mobile";
    d.mobileCountryCode = "262";
    d.mobileNetworkCode = "01";
    d.isoCountryCode = "de";
    f.carrier->reading = {true, d};
    f.stats->refreshCarrierInfoSync();
    EXPECT_TRUE(f.stats->providesCarrierInfo());
    EXPECT_EQ(f.stats->carrierName(), "Example Mobile");
    EXPECT_EQ(f.stats->mobileNetworkCode(), "01");
    EXPECT_EQ(f.stats->isoCountryCode(), "de");

    // The service goes away: the carrier fields stay as they were.
    f.carrier->reading = {false, std::nullopt};
    f.stats->refreshCarrierInfoSync();
    EXPECT_FALSE(f.stats->providesCarrierInfo());
    EXPECT_EQ(f.stats->carrierName(), "Example Mobile");

    // The service knows no carrier: null strings, still providing.
    f.carrier->reading = {true, std::nullopt};
    f.stats->refreshCarrierInfoSync();
    EXPECT_TRUE(f.stats->providesCarrierInfo());
    EXPECT_TRUE(f.stats->carrierName().isNull());
    EXPECT_TRUE(f.stats->mobileCountryCode().isNull());
}

namespace {
// Two readings that differ in every address, alternating on each listing.
class AlternatingAddresses : public InterfaceAddresses {
public:
    std::atomic<int> calls{0};
    std::optional<std::vector<InterfaceAddress>> list() override
    {
        const int n = 1 + calls++ % 2;
        const std::string digit = std::to_string(n);
        return std::vector<InterfaceAddress>{linkEntry("wlan0", {2, 0, 0, 0, 0, std::uint8_t(n)}),
                                             ipv4("wlan0", ("10.0.0." + digit).c_str()),
                                             linkEntry("wwan0", {2, 0, 0, 0, 1, std::uint8_t(n)}),
                                             ipv4("wwan0", ("100.64.0." + digit).c_str())};
    }
};
} // namespace

TEST(SemiDynamicSnapshots, AddressesNeverFlickerToNotAvailableNorMixTwoRefreshes)
{
    auto addresses = std::make_shared<AlternatingAddresses>();
    Fixture f(addresses);
    SemiDynamicStats& stats = *f.stats;
    stats.refreshAddressesSync();
    tornreads::expectWholeReadings(
        [&] { stats.refreshAddressesSync(); },
        [&] {
            const QString alone = stats.wifiIp(); // one getter on its own: never cleared
            const auto snap = stats.snapshot();
            const QString n = snap->wifiIp.right(1);
            return (n == "1" || n == "2") && snap->wifiMac == "02:00:00:00:00:0" + n &&
                   snap->cellIp == "100.64.0." + n && snap->cellMac == "02:00:00:00:01:0" + n &&
                   snap->wifiConnected && snap->cellConnected &&
                   (alone == "10.0.0.1" || alone == "10.0.0.2");
        },
        [&] { return long(addresses->calls); }, 5000, 1000);
}

TEST(MobileCountryCodesTest, IsoCodes)
{
    EXPECT_EQ(isoCountryForMcc("316"), "us");
    EXPECT_EQ(isoCountryForMcc("750"), "fk"); // the last entry
    EXPECT_EQ(isoCountryForMcc("999"), "");
    EXPECT_EQ(isoCountryForMcc("31"), "");
}
