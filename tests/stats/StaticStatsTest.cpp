#include "stats/StaticStats.h"
#include "host/proc/LinuxKernelFacts.h"
#include "host/sysfs/LinuxHardwareProbe.h"
#include "host/system/LinuxDeviceIdentity.h"
#include "StatsFakes.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

struct Host {
    fakes::Kernel kernel;
    fakes::Identity identity;
    fakes::Probe probe;
    fakes::FakeModem modem;

    StaticStats make(const char* machine)
    {
        kernel.id->machine = machine;
        return StaticStats({kernel, identity, probe, modem});
    }
};

} // namespace

TEST(DeviceTableRows, PrefixAndWholeStringRowsAreNeverProbed)
{
    Host host;
    const StaticStats phone = host.make("iPhone4,1");
    EXPECT_EQ(phone.device(), "iPhone 5");
    EXPECT_TRUE(phone.has3g()); // a phone row needs no modem service
    EXPECT_EQ(phone.battery_life_talk(), 7 * 3600.0);

    const StaticStats ipod = host.make("iPod1,1"); // the one row that turns defaults off
    EXPECT_FALSE(ipod.bluetooth());
    EXPECT_TRUE(ipod.wifi());
    EXPECT_EQ(host.probe.calls, 0);

    // "iPhone1,1" and "i386" match whole strings only: neighbours keep the defaults.
    const StaticStats near = host.make("iPhone1,3");
    EXPECT_EQ(near.device(), "N/A");
    EXPECT_FALSE(near.phone());
    EXPECT_TRUE(near.bluetooth());
    EXPECT_EQ(host.make("i386x").device(), "N/A");

    // The simulator row overrides the memory read.
    host.kernel.mem = MemInfo{};
    host.kernel.mem->total = 16ull << 30;
    const StaticStats simulator = host.make("i386");
    EXPECT_TRUE(simulator.simulator());
    EXPECT_EQ(simulator.physmem(), 247ull * 1048576);
}

TEST(DeviceTableRows, IpadCarrierDecidesThreeGAndGps)
{
    for (const char* machine : {"iPad1,1", "iPad2,1"}) {
        SCOPED_TRACE(machine);
        Host host;
        host.modem.present = true;
        host.modem.carrier = QString("");
        StaticStats none = host.make(machine);
        EXPECT_FALSE(none.has3g());
        EXPECT_FALSE(none.gps());
        EXPECT_EQ(none.battery_life_browsing_3g(), 0.0);

        host.modem.carrier = QString("Vodafone");
        StaticStats named = host.make(machine);
        EXPECT_TRUE(named.has3g());
        EXPECT_TRUE(named.gps());
        EXPECT_EQ(named.battery_life_browsing_3g(), 9 * 3600.0);

        host.modem.carrier.reset(); // a modem without an operator still counts
        EXPECT_TRUE(host.make(machine).has3g());
    }
    fakes::FakeModem absent;
    absent.carrier = QString("Vodafone");
    EXPECT_FALSE(StaticStats::test3G(absent)); // no modem service at all
}

TEST(CpuFrequencyText, FallbacksAndTruncation)
{
    EXPECT_EQ(StaticStats::formatCpuFrequency(0, "iPod4,1"), "~800 MHz");
    EXPECT_EQ(StaticStats::formatCpuFrequency(std::nullopt, "iPhone3,1"), "~800 MHz");
    EXPECT_EQ(StaticStats::formatCpuFrequency(0, "iPad2,1"), "1000 MHz");
    EXPECT_EQ(StaticStats::formatCpuFrequency(0, "i386"), "N/A");
    EXPECT_EQ(StaticStats::formatCpuFrequency(999999, "iPad2,1"), "0 MHz");
    // 64-bit: a 4.7 GHz core no longer overflows.
    EXPECT_EQ(StaticStats::formatCpuFrequency(4700000000ull, "x86_64"), "4700 MHz");
}

TEST(StaticStatsUnknownMachine, ProbeFillsOnlyWhatItFound)
{
    Host host;
    host.probe.facts.device = "LENOVO 20XW004GGE";
    host.probe.facts.coreNumber = 8;
    host.probe.facts.touchscreen = false;
    host.probe.facts.front_camera_resolution = "";
    const StaticStats s = host.make("x86_64");
    EXPECT_EQ(host.probe.calls, 1);
    EXPECT_EQ(s.device(), "LENOVO 20XW004GGE");
    EXPECT_EQ(s.coreNumber(), 8u);
    EXPECT_FALSE(s.touchscreen());
    EXPECT_EQ(s.front_camera_resolution(), "No"); // found empty: the default stays
    EXPECT_EQ(s.gpu(), "N/A");                    // not found: the default stays
    EXPECT_TRUE(s.wifi());
}

TEST(StaticStatsKernelFields, AbsentQuantitiesStayAbsent)
{
    Host host;
    host.kernel.os.build_id = "2024.02";
    const StaticStats s = host.make("x86_64");
    EXPECT_EQ(s.osrev(), 42u);
    EXPECT_EQ(s.version(), "2024.02"); // BUILD_ID before VERSION_ID
    EXPECT_FALSE(s.l1cachesize());
    EXPECT_FALSE(s.bus_freq());
    EXPECT_FALSE(s.physmem()); // meminfo unreadable

    host.kernel.id.reset(); // uname failed: empty strings, no build number
    const StaticStats none({host.kernel, host.identity, host.probe, host.modem});
    EXPECT_EQ(none.machine(), "");
    EXPECT_FALSE(none.osrev());
}

TEST(StaticStatsFixtures, LaptopMachineThroughTheLinuxServices)
{
    const std::string root = testsupport::fixture("machines/laptop-one-battery");
    LinuxKernelFacts kernel(root);
    LinuxDeviceIdentity identity(kernel, root);
    LinuxHardwareProbe probe(kernel, root, [](const std::string&) { return std::nullopt; });
    fakes::FakeModem modem;
    const StaticStats s({kernel, identity, probe, modem});
    EXPECT_EQ(s.machine(), "x86_64");
    EXPECT_EQ(s.physmem(), 16082140ull * 1024);
    EXPECT_EQ(s.usermem(), 12500000ull * 1024);
    EXPECT_EQ(s.cpu_freq(), "4700 MHz");
    EXPECT_EQ(s.osrev(), 1u);
    EXPECT_EQ(s.version(), "12");
    EXPECT_EQ(s.name(), "Ana's ThinkPad");
    EXPECT_EQ(s.model(), "20XW004GGE");
    EXPECT_EQ(s.device(), "LENOVO 20XW004GGE");
    EXPECT_EQ(s.coreNumber(), 8u);
    EXPECT_EQ(s.battery_capacity(), "4947 mAh");
    EXPECT_FALSE(s.touchscreen());
}
