#pragma once

#include "host/Battery.h"
#include "stats/CpuTickDelta.h"
#include "stats/JobGroup.h"
#include "stats/SnapshotCell.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class IdleInhibitor;
class KernelFacts;

// The values that change from second to second: load averages, CPU ticks
// since the previous load refresh, memory page counts and paging counters;
// plus the battery charge and idle-timer questions of the charge alarm.
// Each refresh publishes a whole new snapshot, so the Async twins may run
// beside readers, and a reader combining values takes one snapshot().
class DynamicStats {
public:
    struct Snapshot {
        double avg[3] = {0, 0, 0};
        uint64_t pages_active = 0, pages_inactive = 0, pages_wired = 0, pages_free = 0;
        std::optional<uint64_t> reactivations, pageins, pageouts, faults, purges;
        CpuTicks32 ticks;
    };

    struct Host {
        KernelFacts& kernel;
        Battery& battery;
        IdleInhibitor& idle;
        std::function<long long()> alertTrigger; // the kAlertTrigger user default
        bool simulator = false;                  // the device facts' demo mode
        std::function<uint32_t()> random;        // demo drift; arc4random when empty
    };

    static DynamicStats& instance();
    explicit DynamicStats(Host host);
    // Waits for Async refreshes still running.
    ~DynamicStats();
    DynamicStats(const DynamicStats&) = delete;
    DynamicStats& operator=(const DynamicStats&) = delete;

    // Every value of one refresh together; the getters below each read one.
    std::shared_ptr<const Snapshot> snapshot() const { return m_snapshot.load(); }

    double avg1() const;
    double avg5() const;
    double avg15() const;

    uint64_t pages_active() const;
    uint64_t pages_inactive() const;
    uint64_t pages_wired() const;
    uint64_t pages_free() const;

    // Paging counters since boot; nullopt where Linux keeps no such counter.
    std::optional<uint64_t> zero_fill_count() const;
    std::optional<uint64_t> reactivations() const;
    std::optional<uint64_t> pageins() const;
    std::optional<uint64_t> pageouts() const;
    std::optional<uint64_t> faults() const;
    std::optional<uint64_t> cow_faults() const;
    std::optional<uint64_t> lookups() const;
    std::optional<uint64_t> hits() const;
    std::optional<uint64_t> purgeable_count() const;
    std::optional<uint64_t> purges() const;
    std::optional<uint64_t> speculative_count() const;

    uint32_t ticks_user() const;
    uint32_t ticks_nice() const;
    uint32_t ticks_system() const;
    uint32_t ticks_idle() const;
    uint32_t ticks_total() const;

    void refreshLoadavgSync();
    void refreshLoadInfoSync();
    void refreshMemInfoSync();
    // Each queues the Sync twin on the snapshot worker and returns at once.
    void refreshLoadavgAsync();
    void refreshLoadInfoAsync();
    void refreshMemInfoAsync();
    // Waits for this instance's Async refreshes queued so far (tests, shutdown).
    void waitForAsync();

    long getCharge();
    bool shouldPreventIdle();
    void preventIdle(bool prevent);
    // Demo mode only: moves pages_free by that many pages.
    void fakeFreeMemory(long pages);

    // The charge of a machine without a battery.
    static constexpr long kNoCharge = -1;
    // Charge in whole percent, whatever the state: demo mode 75, no battery
    // kNoCharge; the level is widened to double before rounding, halves away
    // from zero.
    static long chargeFor(float level, Battery::State state, bool demo);
    // Whether the idle timer must stay off for the charge alarm.
    static bool idleRule(long charge, Battery::State state, long long alertTrigger);

    // The previous tick reading is shared by the whole process, whichever
    // instance refreshed last. Tests start from zero with this.
    static void resetPreviousTicks();

private:
    void startAsync(void (DynamicStats::*sync)());

    Host m_host;
    SnapshotCell<Snapshot> m_snapshot;
    JobGroup m_jobs; // last: its destructor waits for jobs that use the fields above
};
