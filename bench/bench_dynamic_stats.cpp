// Cost of one Overview/Memory tick of the dynamic collector: load averages,
// CPU ticks and memory counters, against reading the same files with cat.

#include "BenchSupport.h"

#include "host/system/HostFile.h"
#include "host/HostServices.h"
#include "host/IdleInhibitor.h"
#include "host/sysfs/LinuxBattery.h"
#include "host/proc/LinuxKernelFacts.h"
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
    QCoreApplication app(argc, argv);
    LinuxKernelFacts kernel;
    LinuxBattery battery;
    NoInhibitor idle;
    DynamicStats stats({kernel, battery, idle, [] { return 0LL; }, false, {}});

    const int runs = 5000;
    const auto refresh = [&] {
        stats.refreshLoadavgSync();
        stats.refreshLoadInfoSync();
        stats.refreshMemInfoSync();
    };
    refresh(); // warm the page cache and the allocator
    const bench::Timing ours = bench::measure(runs, refresh);

    // The floor: only reading the three /proc files, no parsing.
    const bench::Timing raw = bench::measure(runs, [] {
        (void)hostfile::read("/proc/stat", 4096);
        (void)hostfile::read("/proc/meminfo");
        (void)hostfile::read("/proc/vmstat");
    });
    const bench::Timing cat =
        bench::measureCommand(200, "cat /proc/loadavg /proc/stat /proc/meminfo /proc/vmstat");

    std::printf("dynamic stats refresh (loadavg + load info + mem info), median of %d:\n", runs);
    std::printf("  welvane:            %8.1f us CPU, %8.1f us wall\n", ours.cpu_ms * 1e3,
                ours.wall_ms * 1e3);
    std::printf("  raw file reads:     %8.1f us CPU, %8.1f us wall\n", raw.cpu_ms * 1e3,
                raw.wall_ms * 1e3);
    std::printf("  cat of same files:  %8.1f us wall (process start included)\n",
                cat.wall_ms * 1e3);
    std::printf("  ratio welvane / cat: %.3f\n", ours.wall_ms / cat.wall_ms);
    std::printf("  goal: well under 1000 us CPU -> %s\n", ours.cpu_ms < 1.0 ? "met" : "MISSED");
    return 0;
}
