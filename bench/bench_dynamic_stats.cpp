// Cost of one Overview/Memory tick of the dynamic collector (load averages,
// CPU ticks, memory and paging counters) against reading the same four
// /proc files in-process without parsing them: the floor any reader pays.
// Interleaved round by round; the ratio says what parsing adds.
#include "BenchSupport.h"

#include "host/HostServices.h"
#include "host/IdleInhibitor.h"
#include "host/proc/LinuxKernelFacts.h"
#include "host/sysfs/LinuxBattery.h"
#include "host/system/HostFile.h"
#include "stats/DynamicStats.h"

#include <QCoreApplication>

#include <cstdio>

namespace {
struct NoInhibitor : IdleInhibitor {
    void setIdleTimerDisabled(bool) override {}
    bool idleTimerDisabled() const override { return false; }
};
} // namespace

int main(int argc, char** argv)
{
    bench::enterPrivateNetwork();
    QCoreApplication app(argc, argv);
    LinuxKernelFacts kernel;
    LinuxBattery battery;
    NoInhibitor idle;
    DynamicStats stats({kernel, battery, idle, [] { return 0LL; }, false, {}});

    const auto ours = [&] {
        stats.refreshLoadavgSync();
        stats.refreshLoadInfoSync();
        stats.refreshMemInfoSync();
    };
    const auto floor = [] {
        (void)hostfile::read("/proc/loadavg", 4096);
        (void)hostfile::read("/proc/stat", 4096);
        (void)hostfile::read("/proc/meminfo");
        (void)hostfile::read("/proc/vmstat");
    };
    ours(); // warm the allocator
    floor();
    const int rounds = 21, calls = 250;
    const std::vector<bench::Timing> t =
        bench::interleave(rounds, {[&] { return bench::batch(calls, ours); },
                                   [&] { return bench::batch(calls, floor); }});

    std::printf("dynamic stats refresh (loadavg + load info + mem info), median of %d rounds of "
                "%d calls:\n",
                rounds, calls);
    std::printf("  welvane:             %8.1f us CPU, %8.1f us wall\n", t[0].cpu_ms * 1e3,
                t[0].wall_ms * 1e3);
    std::printf("  same files, no parse: %7.1f us CPU, %8.1f us wall\n", t[1].cpu_ms * 1e3,
                t[1].wall_ms * 1e3);
    std::printf("  ratio welvane / reads alone: %.2f CPU, %.2f wall\n",
                bench::ratio(t[0].cpu_ms, t[1].cpu_ms), bench::ratio(t[0].wall_ms, t[1].wall_ms));
    return 0;
}
