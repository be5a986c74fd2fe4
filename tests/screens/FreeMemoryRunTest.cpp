// The free-memory run over an injected allocator, sleeper and clock: no real
// waits, and every buffer it is handed is inspected after it gives it back.

#include "screens/memory/FreeMemoryRun.h"
#include "host/system/AnonymousMemory.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

using namespace std::chrono_literals;
using End = FreeMemoryRun::End;

constexpr uint64_t kPage = 4096;
constexpr uint64_t MiB = 1ull << 20;

// Hands out real memory and remembers, for each buffer, how far into it the
// run wrote before giving it back.
struct Rig {
    std::map<std::byte*, std::size_t> live;
    int maxLive = 0;
    int allocations = 0;
    int failAt = -1; // this allocation (0-based) fails
    std::vector<uint64_t> lastTouched;
    std::vector<double> measures; // answered in turn; the last one repeats
    int measured = 0;
    int sleeps = 0;
    std::chrono::milliseconds sleepCost{400};
    bool stopInSleep = false;
    std::chrono::steady_clock::time_point clock{};
    std::vector<uint64_t> fakeFreed;
    uint64_t pageSize = kPage;

    FreeMemoryRun::Host host(bool demo = false)
    {
        FreeMemoryRun::Host h;
        h.allocate = [this](std::size_t size) -> std::byte* {
            if (allocations++ == failAt)
                return nullptr;
            std::byte* p = AnonymousMemory::allocate(size); // zero pages
            EXPECT_NE(p, nullptr);
            live.emplace(p, size);
            maxLive = std::max(maxLive, static_cast<int>(live.size()));
            return p;
        };
        h.release = [this](std::byte* p, std::size_t size) {
            // The run touches a prefix of the buffer, one byte per page.
            uint64_t off = 0;
            while (off < size && p[off] == std::byte{0x61})
                off += pageSize;
            lastTouched.push_back(off - pageSize);
            EXPECT_EQ(live.erase(p), 1u);
            AnonymousMemory::release(p, size);
        };
        h.sleep = [this](std::chrono::milliseconds d, std::stop_token) {
            EXPECT_EQ(d, FreeMemoryRun::kPause);
            ++sleeps;
            clock += sleepCost;
            return !stopInSleep;
        };
        h.measure = [this] {
            const double v = measures.at(std::min<size_t>(measured, measures.size() - 1));
            ++measured;
            return v;
        };
        h.now = [this] { return clock; };
        if (demo)
            h.fakeFree = [this](uint64_t pages) { fakeFreed.push_back(pages); };
        return h;
    }
};

} // namespace

TEST(FreeMemoryRun, BufferAndChunkFollowPhysicalMemory)
{
    struct Case {
        uint64_t physmem, size, chunk;
    };
    const Case cases[] = {
        {128 * MiB, 26214400, 1048576}, // below 50 MiB: the 25 MiB minimum
        {256 * MiB, 93952409, 3756032},    {512 * MiB, 187904819, 7516160},
        {1024 * MiB, 209715200, 8388608},  // capped at 200 MiB
        {64ull << 30, 209715200, 8388608}, // far past 32 bits: still the cap
    };
    for (const Case& c : cases) {
        const FreeMemoryRun::Plan p = FreeMemoryRun::plan(c.physmem, kPage);
        EXPECT_EQ(p.size, c.size) << c.physmem;
        EXPECT_EQ(p.chunk, c.chunk) << c.physmem;
    }
    // On large-page machines the chunk is whole pages, rounded down by less than one.
    for (const uint64_t page : {16384ull, 65536ull}) {
        const FreeMemoryRun::Plan p = FreeMemoryRun::plan(256 * MiB, page);
        EXPECT_EQ(p.chunk % page, 0u) << page;
        EXPECT_LE(p.chunk, 3758096u) << page;
        EXPECT_GT(p.chunk + page, 3758096u) << page;
    }
}

TEST(FreeMemoryRun, EndsAfterOnePassWhenFreeMemoryIsAlreadyLarge)
{
    Rig rig;
    rig.measures = {0};
    const FreeMemoryRun::Plan plan = FreeMemoryRun::plan(128 * MiB, kPage);
    const auto r = FreeMemoryRun::run(plan, kPage, 30.0, rig.host());
    EXPECT_EQ(r.end, End::Complete);
    EXPECT_EQ(r.passes, 1);
    EXPECT_EQ(rig.sleeps, 0);
    EXPECT_EQ(rig.measured, 0);
    ASSERT_EQ(rig.lastTouched.size(), 1u);
    EXPECT_EQ(rig.lastTouched[0], plan.size - kPage); // every page up to the end
    EXPECT_TRUE(rig.live.empty());
}

TEST(FreeMemoryRun, PausesPastTheFreeAmountAndHoldsOneBufferAtATime)
{
    Rig rig;
    rig.measures = {12.5, 100.0}; // the second measure frees enough
    const FreeMemoryRun::Plan plan = FreeMemoryRun::plan(128 * MiB, kPage);
    const auto r = FreeMemoryRun::run(plan, kPage, 3.2, rig.host(true));
    // In demo mode each pause tells the collector that step pages came free.
    EXPECT_EQ(rig.fakeFreed, (std::vector<uint64_t>{plan.step, plan.step}));
    EXPECT_EQ(r.end, End::Complete);
    EXPECT_EQ(r.passes, 3);
    EXPECT_EQ(rig.sleeps, 2);
    ASSERT_EQ(rig.lastTouched.size(), 3u);
    // The first whole MiB chunk past 3.2 MB free, then past 12.5 MB.
    EXPECT_EQ(rig.lastTouched[0], 4 * MiB);
    EXPECT_EQ(rig.lastTouched[1], 13 * MiB);
    EXPECT_EQ(rig.lastTouched[2], plan.size - kPage);
    EXPECT_EQ(rig.maxLive, 1);
    EXPECT_TRUE(rig.live.empty());
}

TEST(FreeMemoryRun, FailedAllocationEndsTheRunWithoutWriting)
{
    // The kernel refuses a mapping of 2^62 bytes: the allocator says so.
    EXPECT_EQ(AnonymousMemory::allocate(1ull << 62), nullptr);
    Rig first;
    first.failAt = 0;
    first.measures = {0};
    const FreeMemoryRun::Plan plan = FreeMemoryRun::plan(128 * MiB, kPage);
    EXPECT_EQ(FreeMemoryRun::run(plan, kPage, 0, first.host()).end, End::AllocationFailed);
    EXPECT_EQ(first.measured, 0);

    Rig later;
    later.failAt = 2;
    later.measures = {0};
    const auto r = FreeMemoryRun::run(plan, kPage, 0, later.host());
    EXPECT_EQ(r.end, End::AllocationFailed);
    EXPECT_EQ(r.passes, 2);
    EXPECT_EQ(later.measured, 2); // the graph keeps the last figures
    EXPECT_TRUE(later.live.empty());
}

TEST(FreeMemoryRun, IsBoundedInPassesAndTimeAndStopsOnRequest)
{
    const FreeMemoryRun::Plan plan = FreeMemoryRun::plan(512 * MiB, kPage);
    Rig passes;
    passes.measures = {1.0}; // memory never comes free
    const auto byPasses = FreeMemoryRun::run(plan, kPage, 1.0, passes.host());
    EXPECT_EQ(byPasses.end, End::Bounded);
    EXPECT_EQ(byPasses.passes, FreeMemoryRun::kMaxPasses);
    EXPECT_TRUE(passes.live.empty());

    Rig slow;
    slow.measures = {1.0};
    slow.sleepCost = 6s; // a machine under pressure: each pause takes long
    const auto byTime = FreeMemoryRun::run(plan, kPage, 1.0, slow.host());
    EXPECT_EQ(byTime.end, End::Bounded);
    EXPECT_EQ(byTime.passes, 10);
    EXPECT_TRUE(slow.live.empty());

    Rig stopped; // the page went away during a pause
    stopped.measures = {1.0};
    stopped.stopInSleep = true;
    EXPECT_EQ(FreeMemoryRun::run(plan, kPage, 1.0, stopped.host()).end, End::Stopped);
    EXPECT_EQ(stopped.measured, 0);
    EXPECT_TRUE(stopped.live.empty());
}
