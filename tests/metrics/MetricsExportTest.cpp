#include "metrics/MetricFamilies.h"
#include "metrics/MetricsCollector.h"
#include "metrics/MetricsReader.h"

#include "MetricsFakes.h"
#include "ServedExporter.h"

#include <prometheus/text_serializer.h>

#include <gtest/gtest.h>

#include <atomic>
#include <net/if.h>
#include <thread>

using served::sample;

namespace {

std::string exported(fakes::Host& host, bool withIdentity = false)
{
    MetricsReader reader(host.metricsHost());
    return prometheus::TextSerializer().Serialize(
        MetricFamilies::build(reader.read(), withIdentity));
}

bool has(const std::string& text, const std::string& what)
{
    return text.find(what) != std::string::npos;
}

PcbRecord pcb(int state, std::uint64_t cookie, std::uint16_t fport = 80)
{
    PcbRecord r;
    r.tstate = state;
    r.cookie = cookie;
    r.fport = fport;
    return r;
}

} // namespace

TEST(MetricsExport, AFailedReadingIsLeftOutAndFlaggedNeverZero)
{
    fakes::Host host;
    host.kernel->load.reset();
    host.kernel->mem = MemInfo{};
    host.kernel->mem->total = 8ull << 30;
    host.sockets->fails[SocketDump::List::Raw] = true; // only the last list fails
    host.sockets->lists[SocketDump::List::Tcp] = {pcb(tcpstate::Established, 1)};
    const std::string text = exported(host);

    EXPECT_FALSE(has(text, "\nwelvane_load1 "));
    EXPECT_EQ(sample(text, "welvane_collector_success{collector=\"load\"}"), 0);
    EXPECT_EQ(sample(text, "welvane_collector_success{collector=\"memory\"}"), 1);
    EXPECT_EQ(sample(text, "welvane_memory_total_bytes"), double(8ull << 30));
    // A kind the kernel did not report is absent, not 0.
    EXPECT_FALSE(has(text, "welvane_memory_bytes{kind=\"free\"}"));
    // Partial socket counts would read as connections closing: none at all.
    EXPECT_EQ(sample(text, "welvane_collector_success{collector=\"connections\"}"), 0);
    EXPECT_FALSE(has(text, "welvane_connections{"));
    EXPECT_FALSE(has(text, "welvane_documents_volume_size_bytes"));
}

TEST(MetricsExport, ProcessesAreCountedByEffectiveUserAndAnUnknownIdKeepsItsNumber)
{
    fakes::Host host;
    host.users->names = {{0, "root"}, {1000, "ana"}};
    host.processes->table = std::vector<ProcessRecord>(5);
    (*host.processes->table)[1].uid = 1000;
    (*host.processes->table)[2].uid = 1000;
    (*host.processes->table)[3].uid = 4242; // no database entry
    const std::string text = exported(host);
    EXPECT_EQ(sample(text, "welvane_processes{user=\"root\"}"), 2);
    EXPECT_EQ(sample(text, "welvane_processes{user=\"ana\"}"), 2);
    EXPECT_EQ(sample(text, "welvane_processes{user=\"4242\"}"), 1);

    host.processes->table.reset(); // /proc unreadable
    const std::string failed = exported(host);
    EXPECT_EQ(sample(failed, "welvane_collector_success{collector=\"processes\"}"), 0);
    EXPECT_FALSE(has(failed, "welvane_processes{"));
}

TEST(MetricsExport, CountersAreInBaseUnitsAndFullWidth)
{
    fakes::Host host;
    // Past 32 bits: the screens' tick counters would have wrapped.
    host.kernel->ticks = CpuTicks{5'000'000'000ull, 30, 250, 7};
    host.kernel->vm = VmStat{};
    host.kernel->vm->pgpgin = 3;
    host.kernel->vm->pgfault = 9;
    host.kernel->mem = MemInfo{};
    host.kernel->mem->unevictable = 1;
    host.kernel->mem->sunreclaim = 2;
    host.kernel->mem->kernel_stack = 4;
    host.ticksPerSecond = 250;
    std::string text = exported(host);
    EXPECT_EQ(sample(text, "welvane_cpu_seconds_total{mode=\"user\"}"), 20'000'000);
    EXPECT_EQ(sample(text, "welvane_cpu_seconds_total{mode=\"system\"}"), 1);
    EXPECT_EQ(sample(text, "welvane_memory_paged_in_bytes_total"), 3072);
    EXPECT_EQ(sample(text, "welvane_memory_page_faults_total"), 9);
    EXPECT_FALSE(has(text, "welvane_memory_paged_out_bytes_total"));
    EXPECT_TRUE(has(text, "# TYPE welvane_cpu_seconds_total counter"));
    // Wired needs all four parts; with one missing it is left out.
    EXPECT_FALSE(has(text, "kind=\"wired\""));
    host.kernel->mem->page_tables = 8;
    text = exported(host);
    EXPECT_EQ(sample(text, "welvane_memory_bytes{kind=\"wired\"}"), 15);
}

TEST(MetricsExport, SocketsAreCountedOnceByProtocolAndState)
{
    fakes::Host host;
    using L = SocketDump::List;
    host.sockets->lists[L::Tcp] = {
        pcb(tcpstate::Established, 1), pcb(tcpstate::Established, 1), // repeated by a racing dump
        pcb(tcpstate::Established, 0), pcb(tcpstate::Established, 0),
        pcb(tcpstate::TimeWait, 2),    pcb(12, 3)};
    host.sockets->lists[L::Udp] = {pcb(0, 4, 0), pcb(0, 5, 53), pcb(0, 6, 0)};
    const std::string text = exported(host);
    EXPECT_EQ(sample(text, "welvane_connections{protocol=\"tcp\",state=\"established\"}"), 3);
    EXPECT_EQ(sample(text, "welvane_connections{protocol=\"tcp\",state=\"time_wait\"}"), 1);
    EXPECT_EQ(sample(text, "welvane_connections{protocol=\"tcp\",state=\"state_12\"}"), 1);
    EXPECT_EQ(sample(text, "welvane_connections{protocol=\"udp\",state=\"unconnected\"}"), 2);
    EXPECT_EQ(sample(text, "welvane_connections{protocol=\"udp\",state=\"connected\"}"), 1);
    EXPECT_FALSE(has(text, "protocol=\"raw\""));
}

TEST(MetricsExport, DeviceIdAndHardwareAddressesOnlyWhenAsked)
{
    fakes::Host host;
    host.probe->facts.device = "Framework Laptop";
    host.probe->facts.processor = "Ryzen";
    InterfaceAddress ip{"wlan0", InterfaceAddress::Kind::Ipv4, 0, htonl(0xC0A80102), false, {}};
    InterfaceAddress mac{"wlan0", InterfaceAddress::Kind::Link, 0, 0,
                         true,    {0x02, 0xab, 0, 0, 0, 0x1f}};
    InterfaceAddress loop{
        "lo", InterfaceAddress::Kind::Link, IFF_LOOPBACK, 0, true, {0, 0, 0, 0, 0, 0}};
    host.addresses->entries = {{ip, mac, loop}};

    const std::string plain = exported(host);
    EXPECT_TRUE(
        has(plain, "welvane_network_address_info{interface=\"wlan0\",address=\"192.168.1.2\"} 1"));
    EXPECT_TRUE(has(plain, "welvane_device_info{model=\"Framework Laptop\",system=\"Debian "
                           "GNU/Linux 12\",kernel=\"6.1.0\",cpu=\"Ryzen\",cores=\"4\"} 1"));
    EXPECT_FALSE(has(plain, "0123abcd"));
    EXPECT_FALSE(has(plain, "02:ab"));

    const std::string identified = exported(host, true);
    EXPECT_TRUE(has(identified, "device_id=\"0123abcd\""));
    EXPECT_TRUE(has(identified, "welvane_network_hardware_address_info{interface=\"wlan0\",address="
                                "\"02:ab:00:00:00:1f\"} 1"));
    EXPECT_FALSE(has(identified, "interface=\"lo\",address=\"00:00"));
}

TEST(MetricsExport, BatteryIsAStateSetAndHealthARepairedRatio)
{
    fakes::Host host;
    std::string text = exported(host);
    EXPECT_EQ(sample(text, "welvane_battery_present"), 0);
    EXPECT_FALSE(has(text, "welvane_battery_level_ratio"));
    EXPECT_FALSE(has(text, "welvane_battery_state{"));
    EXPECT_EQ(sample(text, "welvane_battery_health_setting_ratio"), 1);

    host.battery.batteries = 1;
    host.battery.level = 0.25f;
    host.battery.state = Battery::StateCharging;
    host.health = 55;
    text = exported(host);
    EXPECT_EQ(sample(text, "welvane_battery_level_ratio"), 0.25);
    EXPECT_EQ(sample(text, "welvane_battery_state{state=\"charging\"}"), 1);
    for (const char* other : {"unknown", "discharging", "full"})
        EXPECT_EQ(sample(text, std::string("welvane_battery_state{state=\"") + other + "\"}"), 0);
    EXPECT_EQ(sample(text, "welvane_battery_health_setting_ratio"), 0.55);
    for (long long outOfRange : {19LL, 101LL, -5LL}) {
        host.health = outOfRange;
        EXPECT_EQ(sample(exported(host), "welvane_battery_health_setting_ratio"), 1) << outOfRange;
    }
}

TEST(MetricsCollector, RapidScrapesShareOneRefreshUntilTheIntervalHasPassed)
{
    std::atomic<int> reads{0};
    auto now = std::chrono::steady_clock::time_point{} + std::chrono::hours(1);
    MetricsCollector collector(
        [&] {
            ++reads;
            MetricsReading r;
            r.load = std::array<double, 3>{double(reads.load()), 0, 0};
            return r;
        },
        false, std::chrono::seconds(1), [&] { return now; });
    const auto load1 = [&] {
        return sample(prometheus::TextSerializer().Serialize(collector.Collect()), "welvane_load1");
    };
    EXPECT_EQ(load1(), 1);
    EXPECT_EQ(load1(), 1);
    now += std::chrono::milliseconds(999);
    EXPECT_EQ(load1(), 1);
    now += std::chrono::milliseconds(1);
    EXPECT_EQ(load1(), 2);
    EXPECT_EQ(reads.load(), 2);
}

TEST(MetricsCollector, ConcurrentScrapesWaitForTheRefreshInFlight)
{
    std::atomic<int> reads{0};
    MetricsCollector collector(
        [&] {
            ++reads;
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            return MetricsReading{};
        },
        false);
    std::vector<std::thread> scrapers;
    std::atomic<int> answered{0};
    for (int i = 0; i < 8; ++i)
        scrapers.emplace_back([&] { answered += !collector.Collect().empty(); });
    for (auto& t : scrapers)
        t.join();
    EXPECT_EQ(answered.load(), 8);
    EXPECT_EQ(reads.load(), 1);
}
