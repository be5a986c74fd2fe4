#include "stats/DynamicStats.h"
#include "StatsFakes.h"
#include "TornReads.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

struct Host {
    fakes::Kernel kernel;
    fakes::FakeBattery battery;
    fakes::Inhibitor idle;
    long long trigger = 0;

    DynamicStats::Host host(bool simulator = false, std::function<uint32_t()> random = {})
    {
        return {kernel, battery, idle, [this] { return trigger; }, simulator, std::move(random)};
    }
};

// user, nice, system, idle, total of the last interval.
std::array<uint32_t, 5> ticks(const DynamicStats& d)
{
    return {d.ticks_user(), d.ticks_nice(), d.ticks_system(), d.ticks_idle(), d.ticks_total()};
}

// active, inactive, wired, free pages.
std::array<uint64_t, 4> pages(const DynamicStats& d)
{
    return {d.pages_active(), d.pages_inactive(), d.pages_wired(), d.pages_free()};
}

class CpuTicksTest : public ::testing::Test {
protected:
    void SetUp() override { DynamicStats::resetPreviousTicks(); }
    void TearDown() override { DynamicStats::resetPreviousTicks(); }
};

} // namespace

TEST_F(CpuTicksTest, IntervalsAcrossInstancesWrapAndFailedReads)
{
    Host h;
    DynamicStats d(h.host()), other(h.host());
    h.kernel.ticks = CpuTicks{1000, 10, 300, 5000};
    d.refreshLoadInfoSync(); // the first refresh counts since boot
    EXPECT_EQ(ticks(d), (std::array<uint32_t, 5>{1000, 10, 300, 5000, 6310}));
    // The previous reading is shared by the process: another instance sees
    // only the ticks since this one's refresh.
    h.kernel.ticks = CpuTicks{1050, 10, 320, 5130};
    other.refreshLoadInfoSync();
    EXPECT_EQ(ticks(other), (std::array<uint32_t, 5>{50, 0, 20, 130, 200}));
    EXPECT_EQ(d.ticks_user(), 1000u);

    h.kernel.ticks = CpuTicks{0xFFFFFFF0ull, 0, 0, 0xFFFFFF00ull};
    d.refreshLoadInfoSync();
    h.kernel.ticks = CpuTicks{0x100000010ull, 0, 0, 0x100000100ull}; // both counters wrapped
    d.refreshLoadInfoSync();
    EXPECT_EQ(ticks(d), (std::array<uint32_t, 5>{0x20, 0, 0, 0x200, 0x220}));

    // A failed read changes nothing, and the next interval spans both.
    h.kernel.ticks.reset();
    d.refreshLoadInfoSync();
    EXPECT_EQ(d.ticks_total(), 0x220u);
    h.kernel.ticks = CpuTicks{0x100000020ull, 0, 0, 0x100000100ull};
    d.refreshLoadInfoSync();
    EXPECT_EQ(ticks(d), (std::array<uint32_t, 5>{0x10, 0, 0, 0, 0x10}));
}

TEST(DynamicLoad, KeepsOldValuesWhenTheCallFails)
{
    Host h;
    DynamicStats d(h.host());
    h.kernel.load = std::array<double, 3>{1.5, 0.75, 0.25};
    d.refreshLoadavgSync();
    h.kernel.load.reset();
    d.refreshLoadavgSync();
    EXPECT_EQ(d.avg1(), 1.5);
    EXPECT_EQ(d.avg5(), 0.75);
    EXPECT_EQ(d.avg15(), 0.25);
}

TEST(DynamicMemory, PagesFromMeminfoAndCountersFromVmstat)
{
    Host h;
    MemInfo m;
    m.free = 4096ull * 100;
    m.active = 4096ull * 200;
    m.inactive = 4096ull * 300;
    m.unevictable = 4096ull * 1;
    m.sunreclaim = 4096ull * 2;
    m.kernel_stack = 4096ull * 3;
    m.page_tables = 4096ull * 4;
    h.kernel.mem = m;
    VmStat v;
    v.pgpgin = 8; // KiB
    v.pgpgout = 4;
    v.pgfault = 5000000000ull; // past 2^32
    v.pgactivate = 7;
    h.kernel.vm = v;
    DynamicStats d(h.host());
    d.refreshMemInfoSync();
    EXPECT_EQ(pages(d), (std::array<uint64_t, 4>{200, 300, 10, 100}));
    EXPECT_EQ(d.pageins(), 2u); // 8 KiB of 4 KiB pages
    EXPECT_EQ(d.pageouts(), 1u);
    EXPECT_EQ(d.faults(), 5000000000ull);
    EXPECT_EQ(d.reactivations(), 7u);
    EXPECT_FALSE(d.purges()); // no pglazyfreed on this kernel

    // A damaged file: the lines that are missing keep their last values.
    h.kernel.mem->active.reset();
    h.kernel.mem->free = 4096ull * 90;
    d.refreshMemInfoSync();
    EXPECT_EQ(pages(d), (std::array<uint64_t, 4>{200, 300, 10, 90}));
    h.kernel.mem.reset();
    d.refreshMemInfoSync();
    EXPECT_EQ(pages(d), (std::array<uint64_t, 4>{200, 300, 10, 90}));
}

TEST(DynamicMemory, DemoValuesDriftAndFakeFreeMemory)
{
    Host h;
    h.kernel.mem = MemInfo{};
    uint32_t step = 0;
    // Steps 0 and 511 are the ends of the walk: -256 and +255 pages.
    DynamicStats d(h.host(true, [&step] { return (step++ % 2) ? 511u : 0u; }));
    const auto [active, inactive, wired, free] = pages(d);
    d.refreshMemInfoSync();
    EXPECT_EQ(pages(d),
              (std::array<uint64_t, 4>{active - 256, inactive + 255, wired - 256, free + 255}));
    d.fakeFreeMemory(1000);
    EXPECT_EQ(d.pages_free(), free + 255 + 1000);

    Host live;
    DynamicStats real(live.host());
    real.fakeFreeMemory(1000); // does nothing outside demo mode
    EXPECT_EQ(real.pages_free(), 0u);
}

TEST(BatteryCharge, RoundsTheWidenedLevel)
{
    using S = Battery::State;
    EXPECT_EQ(DynamicStats::chargeFor(0.125f, S::StateCharging, false), 13);
    EXPECT_EQ(DynamicStats::chargeFor(0.355f, S::StateUnplugged, false), 35);
    EXPECT_EQ(DynamicStats::chargeFor(1.0f, S::StateFull, false), 100);
    EXPECT_EQ(DynamicStats::chargeFor(-1.0f, S::StateUnknown, false), DynamicStats::kNoCharge);
    // A present battery whose status the kernel calls "Unknown" keeps its level.
    EXPECT_EQ(DynamicStats::chargeFor(0.85f, S::StateUnknown, false), 85);
    EXPECT_EQ(DynamicStats::chargeFor(0.1f, S::StateUnknown, true), 75);
}

TEST(IdleRule, OnlyWhileChargingAndBelowTheAlarm)
{
    using S = Battery::State;
    for (S state : {S::StateUnknown, S::StateUnplugged, S::StateFull})
        EXPECT_FALSE(DynamicStats::idleRule(50, state, 0));
    EXPECT_TRUE(DynamicStats::idleRule(100, S::StateCharging, 0));
    EXPECT_FALSE(DynamicStats::idleRule(50, S::StateCharging, 2));

    // Trigger 1, alarm at 100 %: through the battery, 99 % keeps awake, 100 % not.
    Host h;
    h.battery.st = S::StateCharging;
    h.battery.lvl = 0.99f;
    h.trigger = 1;
    DynamicStats d(h.host());
    EXPECT_TRUE(d.shouldPreventIdle());
    h.battery.lvl = 1.0f;
    EXPECT_FALSE(d.shouldPreventIdle());
    d.preventIdle(true);
    EXPECT_TRUE(h.idle.disabled);
}

namespace {
// Every reading differs from the one before in every field: all 1 page, then
// all 2 pages, so a snapshot mixing two refreshes shows unequal fields.
struct AlternatingKernel : fakes::Kernel {
    std::atomic<uint64_t> reads{0};
    uint64_t current = 1; // written and read by the refreshing thread only
    std::optional<MemInfo> memInfo() override
    {
        current = 1 + reads++ % 2;
        MemInfo m;
        m.free = m.active = m.inactive = m.unevictable = current * 4096;
        return m;
    }
    std::optional<VmStat> vmStat() override
    {
        std::this_thread::yield(); // a real read takes a while: let the reader in meanwhile
        VmStat v;
        v.pgpgin = current * 4; // KiB
        v.pgfault = current;
        return v;
    }
};
} // namespace

TEST(DynamicSnapshots, ReadersSeeWholeRefreshesWhileTheWorkerAlternates)
{
    AlternatingKernel kernel;
    fakes::FakeBattery battery;
    fakes::Inhibitor idle;
    DynamicStats d({kernel, battery, idle, {}, false, {}});
    d.refreshMemInfoSync();
    tornreads::expectWholeReadings([&] { d.refreshMemInfoSync(); },
                                   [&] {
                                       const auto s = d.snapshot();
                                       const uint64_t v = s->pages_free;
                                       return (v == 1 || v == 2) && s->pages_active == v &&
                                              s->pages_inactive == v && s->pages_wired == v &&
                                              s->pageins == v && s->faults == v;
                                   },
                                   [&] { return long(kernel.reads); }, 20000, 5000);
}
