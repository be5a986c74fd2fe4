#include "stats/DynamicStats.h"

#include "host/HostServices.h"
#include "host/IdleInhibitor.h"
#include "host/KernelFacts.h"
#include "host/settings/Defaults.h"
#include "stats/StaticStats.h"

#include <cmath>
#include <cstdlib>

namespace {

struct PreviousTicks {
    std::mutex mutex;
    CpuTicks32 ticks;
};

PreviousTicks& previousTicks()
{
    static PreviousTicks previous;
    return previous;
}

// Demo page counts, the figures of a small handheld at rest.
constexpr uint64_t kDemoActive = 5580, kDemoInactive = 2918, kDemoWired = 17075, kDemoFree = 1868;

// One step of the demo walk: -256 to +255 pages, in 32-bit arithmetic.
uint64_t drift(uint64_t value, uint32_t random)
{
    return static_cast<uint32_t>(static_cast<uint32_t>(value) - 256u + (random & 511u));
}

} // namespace

DynamicStats& DynamicStats::instance()
{
    static DynamicStats stats(
        Host{HostServices::kernel(),
             HostServices::battery(),
             HostServices::idleInhibitor(),
             [] { return Defaults::standardUserDefaults().integerForKey("kAlertTrigger"); },
             StaticStats::instance().simulator(),
             {}});
    return stats;
}

DynamicStats::DynamicStats(Host host)
    : m_host(std::move(host)), m_jobs(BackgroundWorker::snapshots())
{
    if (!m_host.random)
        m_host.random = [] { return static_cast<uint32_t>(::arc4random()); };
    if (m_host.simulator)
        m_snapshot.update([](Snapshot& s) {
            s.pages_active = kDemoActive;
            s.pages_inactive = kDemoInactive;
            s.pages_wired = kDemoWired;
            s.pages_free = kDemoFree;
        });
}

DynamicStats::~DynamicStats()
{
    waitForAsync();
}

#define WELVANE_SNAPSHOT_GETTER(type, name, expr)                                                  \
    type DynamicStats::name() const                                                                \
    {                                                                                              \
        return snapshot()->expr;                                                                   \
    }

WELVANE_SNAPSHOT_GETTER(double, avg1, avg[0])
WELVANE_SNAPSHOT_GETTER(double, avg5, avg[1])
WELVANE_SNAPSHOT_GETTER(double, avg15, avg[2])
WELVANE_SNAPSHOT_GETTER(uint64_t, pages_active, pages_active)
WELVANE_SNAPSHOT_GETTER(uint64_t, pages_inactive, pages_inactive)
WELVANE_SNAPSHOT_GETTER(uint64_t, pages_wired, pages_wired)
WELVANE_SNAPSHOT_GETTER(uint64_t, pages_free, pages_free)
WELVANE_SNAPSHOT_GETTER(std::optional<uint64_t>, reactivations, reactivations)
WELVANE_SNAPSHOT_GETTER(std::optional<uint64_t>, pageins, pageins)
WELVANE_SNAPSHOT_GETTER(std::optional<uint64_t>, pageouts, pageouts)
WELVANE_SNAPSHOT_GETTER(std::optional<uint64_t>, faults, faults)
WELVANE_SNAPSHOT_GETTER(std::optional<uint64_t>, purges, purges)
WELVANE_SNAPSHOT_GETTER(uint32_t, ticks_user, ticks.user)
WELVANE_SNAPSHOT_GETTER(uint32_t, ticks_nice, ticks.nice)
WELVANE_SNAPSHOT_GETTER(uint32_t, ticks_system, ticks.system)
WELVANE_SNAPSHOT_GETTER(uint32_t, ticks_idle, ticks.idle)
WELVANE_SNAPSHOT_GETTER(uint32_t, ticks_total, ticks.sum)
#undef WELVANE_SNAPSHOT_GETTER

// Linux keeps no counter for these: always absent.
std::optional<uint64_t> DynamicStats::zero_fill_count() const
{
    return std::nullopt;
}
std::optional<uint64_t> DynamicStats::cow_faults() const
{
    return std::nullopt;
}
std::optional<uint64_t> DynamicStats::lookups() const
{
    return std::nullopt;
}
std::optional<uint64_t> DynamicStats::hits() const
{
    return std::nullopt;
}
std::optional<uint64_t> DynamicStats::purgeable_count() const
{
    return std::nullopt;
}
std::optional<uint64_t> DynamicStats::speculative_count() const
{
    return std::nullopt;
}

void DynamicStats::refreshLoadavgSync()
{
    const auto avg = m_host.kernel.loadAverages();
    if (!avg)
        return;
    m_snapshot.update([&avg](Snapshot& s) {
        for (int i = 0; i < 3; ++i)
            s.avg[i] = (*avg)[i];
    });
}

void DynamicStats::refreshLoadInfoSync()
{
    const auto raw = m_host.kernel.cpuTicks();
    if (!raw)
        return; // the previous reading stays, so the next interval is whole
    const CpuTicks32 now = CpuTicks32::from(*raw);
    PreviousTicks& prev = previousTicks();
    std::lock_guard prevLock(prev.mutex);
    const CpuTicks32 delta = now.since(prev.ticks);
    prev.ticks = now;
    // Published while the previous reading is still held, so two refreshes
    // publish their intervals in the order they measured them.
    m_snapshot.update([&delta](Snapshot& s) { s.ticks = delta; });
}

void DynamicStats::refreshMemInfoSync()
{
    const auto mem = m_host.kernel.memInfo();
    if (!mem)
        return;
    const auto vm = m_host.kernel.vmStat();
    const uint64_t page = m_host.kernel.pageSize();
    const auto pages = [page](std::optional<uint64_t> bytes) {
        return bytes ? std::optional<uint64_t>(*bytes / page) : std::nullopt;
    };
    // Memory the kernel cannot page out: locked pages, its own slabs, stacks
    // and page tables.
    std::optional<uint64_t> wired;
    for (const auto& part :
         {mem->unevictable, mem->sunreclaim, mem->kernel_stack, mem->page_tables})
        if (part)
            wired = wired.value_or(0) + *part / page;

    // The demo walk draws its steps before the update, outside the lock.
    uint32_t steps[4] = {0, 0, 0, 0};
    if (m_host.simulator)
        for (uint32_t& step : steps)
            step = m_host.random();
    m_snapshot.update([&](Snapshot& s) {
        if (m_host.simulator) {
            uint64_t* values[] = {&s.pages_active, &s.pages_inactive, &s.pages_wired,
                                  &s.pages_free};
            for (int i = 0; i < 4; ++i)
                *values[i] = drift(*values[i], steps[i]);
        } else {
            // A line missing from a damaged file keeps the value read before.
            s.pages_active = pages(mem->active).value_or(s.pages_active);
            s.pages_inactive = pages(mem->inactive).value_or(s.pages_inactive);
            s.pages_wired = wired.value_or(s.pages_wired);
            s.pages_free = pages(mem->free).value_or(s.pages_free);
        }
        if (vm) {
            const auto kibToPages = [page](std::optional<uint64_t> kib) {
                return kib ? std::optional<uint64_t>(*kib * 1024 / page) : std::nullopt;
            };
            s.pageins = kibToPages(vm->pgpgin);
            s.pageouts = kibToPages(vm->pgpgout);
            s.faults = vm->pgfault;
            s.reactivations = vm->pgactivate;
            s.purges = vm->pglazyfreed;
        }
    });
}

void DynamicStats::startAsync(void (DynamicStats::*sync)())
{
    m_jobs.post([this, sync] { (this->*sync)(); });
}

void DynamicStats::refreshLoadavgAsync()
{
    startAsync(&DynamicStats::refreshLoadavgSync);
}

void DynamicStats::refreshLoadInfoAsync()
{
    startAsync(&DynamicStats::refreshLoadInfoSync);
}

void DynamicStats::refreshMemInfoAsync()
{
    startAsync(&DynamicStats::refreshMemInfoSync);
}

void DynamicStats::waitForAsync()
{
    m_jobs.wait();
}

long DynamicStats::chargeFor(float level, Battery::State /*state*/, bool demo)
{
    if (demo)
        level = 0.75f;
    // A readable level counts whatever the status: kernels say "Unknown" for
    // a present battery on many laptops (charge thresholds, firmware).
    if (level < 0.0f)
        return kNoCharge;
    return std::lround(static_cast<double>(level) * 100.0);
}

bool DynamicStats::idleRule(long charge, Battery::State state, long long alertTrigger)
{
    if (state != Battery::StateCharging)
        return false;
    if (alertTrigger == 0)
        return true; // alarm when the state turns full: keep awake while charging
    if (alertTrigger == 1)
        return charge <= 99; // alarm at 100 %: keep awake until it is reached
    return false;
}

long DynamicStats::getCharge()
{
    return chargeFor(m_host.battery.level(), m_host.battery.state(), m_host.simulator);
}

bool DynamicStats::shouldPreventIdle()
{
    const long trigger = m_host.alertTrigger ? m_host.alertTrigger() : 0;
    return idleRule(getCharge(), m_host.battery.state(), trigger);
}

void DynamicStats::preventIdle(bool prevent)
{
    m_host.idle.setIdleTimerDisabled(prevent);
}

void DynamicStats::fakeFreeMemory(long pages)
{
    if (!m_host.simulator)
        return;
    m_snapshot.update([pages](Snapshot& s) {
        s.pages_free = static_cast<uint32_t>(static_cast<uint32_t>(s.pages_free) +
                                             static_cast<uint32_t>(pages));
    });
}

void DynamicStats::resetPreviousTicks()
{
    PreviousTicks& prev = previousTicks();
    std::lock_guard lock(prev.mutex);
    prev.ticks = CpuTicks32{};
}
