#include "stats/StaticStats.h"
#include "host/proc/LinuxKernelFacts.h"
#include "host/sysfs/LinuxHardwareProbe.h"
#include "host/system/LinuxDeviceIdentity.h"
#include "StatsFakes.h"
#include "support/TestSupport.h"

#include "support/CommandOutput.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

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

std::map<std::string, bool> flags(const StaticStats& s)
{
    return {{"front_camera", s.front_camera()},
            {"rear_camera", s.rear_camera()},
            {"microphone", s.microphone()},
            {"phone", s.phone()},
            {"gyroscope", s.gyroscope()},
            {"magnetometer", s.magnetometer()},
            {"proximity", s.proximity()},
            {"has3g", s.has3g()},
            {"gps", s.gps()},
            {"simulator", s.simulator()},
            {"bluetooth", s.bluetooth()},
            {"wifi", s.wifi()},
            {"accelerometer", s.accelerometer()},
            {"touchscreen", s.touchscreen()},
            {"speaker", s.speaker()},
            {"ambient_light", s.ambient_light()}};
}

// The flags that are YES on a model no row changes.
const std::set<std::string> kDefaultYes = {"bluetooth",   "wifi",    "accelerometer",
                                           "touchscreen", "speaker", "ambient_light"};

} // namespace

TEST(DeviceTableRows, RowsTurnDefaultsOnAndOffAndAreNeverProbed)
{
    Host host;
    const StaticStats phone = host.make("iPhone4,1");
    EXPECT_EQ(phone.device(), "iPhone 5");
    EXPECT_EQ(phone.coreNumber(), 2u);
    EXPECT_TRUE(phone.phone());
    EXPECT_TRUE(phone.has3g()); // a phone row needs no modem service
    EXPECT_EQ(phone.battery_life_talk(), 7 * 3600.0);

    const StaticStats ipod = host.make("iPod1,1"); // the one row that turns defaults off
    EXPECT_FALSE(ipod.bluetooth());
    EXPECT_FALSE(ipod.speaker());
    EXPECT_TRUE(ipod.wifi());
    EXPECT_EQ(ipod.rear_camera_resolution(), "No");
    EXPECT_EQ(ipod.battery_voltage(), "3.7 V");
    EXPECT_EQ(host.probe.calls, 0);
}

TEST(DeviceTableRows, WholeStringRowsDoNotMatchNeighbours)
{
    Host host;
    const StaticStats s = host.make("iPhone1,3");
    EXPECT_EQ(s.device(), "N/A");
    EXPECT_EQ(s.display_resolution(), "N/A");
    EXPECT_EQ(s.front_camera_resolution(), "No");
    EXPECT_EQ(s.rear_camera_resolution(), "No");
    EXPECT_EQ(s.coreNumber(), 1u);
    EXPECT_EQ(s.battery_life_standby(), 0.0);
    for (const auto& [name, value] : flags(s))
        EXPECT_EQ(value, kDefaultYes.count(name) == 1) << name;
    EXPECT_EQ(host.make("iPhone2,1").device(), "iPhone 3GS");
    EXPECT_EQ(host.make("i386x").device(), "N/A");
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
        EXPECT_EQ(named.battery_life_browsing_3g(), 32400.0);

        host.modem.carrier.reset(); // a modem without an operator still counts
        EXPECT_TRUE(host.make(machine).has3g());
    }
    fakes::FakeModem absent;
    absent.carrier = QString("Vodafone");
    EXPECT_FALSE(StaticStats::test3G(absent)); // no modem service at all
}

TEST(DeviceTableRows, SimulatorHasDemoFactsAnd247MB)
{
    Host host;
    host.kernel.mem = MemInfo{};
    host.kernel.mem->total = 16ull << 30;
    const StaticStats s = host.make("i386");
    EXPECT_TRUE(s.simulator());
    EXPECT_EQ(s.device(), "iPod Touch 4G");
    EXPECT_EQ(s.physmem(), 247ull * 1048576);
    EXPECT_EQ(s.cpu_freq(), "N/A"); // "i386" has no frequency fallback
}

TEST(CpuFrequencyText, FallbacksAndTruncation)
{
    EXPECT_EQ(StaticStats::formatCpuFrequency(0, "iPod4,1"), "~800 MHz");
    EXPECT_EQ(StaticStats::formatCpuFrequency(std::nullopt, "iPhone3,1"), "~800 MHz");
    EXPECT_EQ(StaticStats::formatCpuFrequency(0, "iPad2,1"), "1000 MHz");
    EXPECT_EQ(StaticStats::formatCpuFrequency(0, "iPhone1,2"), "N/A");
    EXPECT_EQ(StaticStats::formatCpuFrequency(412000000, "iPhone1,2"), "412 MHz");
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
    host.probe.facts.front_camera = true;
    host.probe.facts.front_camera_resolution = "0.9 MP";
    const StaticStats s = host.make("x86_64");
    EXPECT_EQ(host.probe.calls, 1);
    EXPECT_EQ(s.device(), "LENOVO 20XW004GGE");
    EXPECT_EQ(s.coreNumber(), 8u);
    EXPECT_FALSE(s.touchscreen());
    EXPECT_TRUE(s.front_camera());
    EXPECT_EQ(s.front_camera_resolution(), "0.9 MP");
    EXPECT_EQ(s.gpu(), "N/A"); // not found: the default stays
    EXPECT_EQ(s.battery_voltage(), "3.7 V");
    EXPECT_TRUE(s.wifi());
    EXPECT_EQ(s.battery_life_audio(), 0.0); // no source for rated battery life
}

TEST(StaticStatsKernelFields, AbsentQuantitiesStayAbsent)
{
    Host host;
    host.kernel.cache.l2 = 524288;
    host.kernel.os.build_id = "2024.02";
    const StaticStats s = host.make("x86_64");
    EXPECT_EQ(s.osrev(), 42u);
    EXPECT_EQ(s.version(), "2024.02"); // BUILD_ID before VERSION_ID
    EXPECT_EQ(s.l2cachesize(), 524288u);
    EXPECT_FALSE(s.l1cachesize());
    EXPECT_FALSE(s.bus_freq());
    EXPECT_FALSE(s.tb_freq());
    EXPECT_FALSE(s.physmem()); // meminfo unreadable
    EXPECT_EQ(s.boottime(), 1700000000u);
    EXPECT_EQ(s.system_name(), "Debian GNU/Linux");
    EXPECT_EQ(s.udid(), "0123abcd");
    EXPECT_TRUE(s.multitasking());

    host.kernel.id.reset(); // uname failed: empty strings, no build number
    const StaticStats none({host.kernel, host.identity, host.probe, host.modem});
    EXPECT_EQ(none.machine(), "");
    EXPECT_EQ(none.ostype(), "");
    EXPECT_FALSE(none.osrev());
    EXPECT_EQ(none.device(), "N/A");
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

TEST(StaticStatsThisMachine, AgreesWithUnameMeminfoNprocAndBtime)
{
    // The real Linux services; the modem is faked, so the test needs no D-Bus.
    LinuxKernelFacts kernel;
    LinuxDeviceIdentity identity(kernel);
    LinuxHardwareProbe probe(kernel);
    fakes::FakeModem modem;
    const StaticStats s({kernel, identity, probe, modem});
    const auto run = testsupport::commandOutput;
    EXPECT_EQ(s.machine(), run("uname", {"-m"}));
    EXPECT_EQ(s.osrelease(), run("uname", {"-r"}));
    EXPECT_EQ(s.hostname(), run("uname", {"-n"}));
    EXPECT_EQ(s.physmem(),
              run("awk", {"/^MemTotal:/ {print $2}", "/proc/meminfo"}).toULongLong() * 1024);
    EXPECT_EQ(s.boottime(), run("awk", {"/^btime/ {print $2}", "/proc/stat"}).toULongLong());
    // The online CPU list, as getconf reads it: nproc counts only the CPUs
    // this process may run on, fewer under taskset.
    EXPECT_EQ(s.coreNumber(), run("getconf", {"_NPROCESSORS_ONLN"}).toUInt());
    EXPECT_EQ(s.pagesize(), run("getconf", {"PAGESIZE"}).toULongLong());
    EXPECT_FALSE(s.simulator());
}
