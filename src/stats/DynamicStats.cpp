#include "stats/DynamicStats.h"

#include "host/settings/Defaults.h"
#include "host/HostServices.h"
#include "host/IdleInhibitor.h"
#include "host/KernelFacts.h"
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

DynamicStats::DynamicStats(Host host) : m_host(std::move(host))
{
    if (!m_host.random)
        m_host.random = [] { return static_cast<uint32_t>(::arc4random()); };
    if (m_host.simulator) {
        m_active = kDemoActive;
        m_inactive = kDemoInactive;
        m_wired = kDemoWired;
        m_free = kDemoFree;
    }
}

DynamicStats::~DynamicStats()
{
    waitForAsync();
}

#define WELVANE_LOCKED_GETTER(type, name, expr)                                                    \
    type DynamicStats::name() const                                                                \
    {                                                                                              \
        std::lock_guard lock(m_mutex);                                                             \
        return expr;                                                                               \
    }

WELVANE_LOCKED_GETTER(double, avg1, m_avg[0])
WELVANE_LOCKED_GETTER(double, avg5, m_avg[1])
WELVANE_LOCKED_GETTER(double, avg15, m_avg[2])
WELVANE_LOCKED_GETTER(uint64_t, pages_active, m_active)
WELVANE_LOCKED_GETTER(uint64_t, pages_inactive, m_inactive)
WELVANE_LOCKED_GETTER(uint64_t, pages_wired, m_wired)
WELVANE_LOCKED_GETTER(uint64_t, pages_free, m_free)
WELVANE_LOCKED_GETTER(std::optional<uint64_t>, reactivations, m_reactivations)
WELVANE_LOCKED_GETTER(std::optional<uint64_t>, pageins, m_pageins)
WELVANE_LOCKED_GETTER(std::optional<uint64_t>, pageouts, m_pageouts)
WELVANE_LOCKED_GETTER(std::optional<uint64_t>, faults, m_faults)
WELVANE_LOCKED_GETTER(std::optional<uint64_t>, purges, m_purges)
WELVANE_LOCKED_GETTER(uint32_t, ticks_user, m_ticks.user)
WELVANE_LOCKED_GETTER(uint32_t, ticks_nice, m_ticks.nice)
WELVANE_LOCKED_GETTER(uint32_t, ticks_system, m_ticks.system)
WELVANE_LOCKED_GETTER(uint32_t, ticks_idle, m_ticks.idle)
WELVANE_LOCKED_GETTER(uint32_t, ticks_total, m_ticks.sum)
#undef WELVANE_LOCKED_GETTER

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
    std::lock_guard lock(m_mutex);
    for (int i = 0; i < 3; ++i)
        m_avg[i] = (*avg)[i];
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
    std::lock_guard lock(m_mutex);
    m_ticks = delta;
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

    std::lock_guard lock(m_mutex);
    if (m_host.simulator) {
        for (uint64_t* v : {&m_active, &m_inactive, &m_wired, &m_free})
            *v = drift(*v, m_host.random());
    } else {
        // A line missing from a damaged file keeps the value read before.
        m_active = pages(mem->active).value_or(m_active);
        m_inactive = pages(mem->inactive).value_or(m_inactive);
        m_wired = wired.value_or(m_wired);
        m_free = pages(mem->free).value_or(m_free);
    }
    if (vm) {
        const auto kibToPages = [page](std::optional<uint64_t> kib) {
            return kib ? std::optional<uint64_t>(*kib * 1024 / page) : std::nullopt;
        };
        m_pageins = kibToPages(vm->pgpgin);
        m_pageouts = kibToPages(vm->pgpgout);
        m_faults = vm->pgfault;
        m_reactivations = vm->pgactivate;
        m_purges = vm->pglazyfreed;
    }
}

void DynamicStats::startAsync(void (DynamicStats::*sync)())
{
    m_async.run([this, sync] { (this->*sync)(); });
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
    m_async.waitAll();
}

long DynamicStats::chargeFor(float level, Battery::State state, bool demo)
{
    if (state == Battery::StateUnknown)
        level = 0.0f; // also covers "no battery", whose level reads -1
    if (demo)
        level = 0.75f;
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
    std::lock_guard lock(m_mutex);
    m_free = static_cast<uint32_t>(static_cast<uint32_t>(m_free) + static_cast<uint32_t>(pages));
}

void DynamicStats::resetPreviousTicks()
{
    PreviousTicks& prev = previousTicks();
    std::lock_guard lock(prev.mutex);
    prev.ticks = CpuTicks32{};
}
