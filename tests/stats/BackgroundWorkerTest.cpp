#include "stats/BackgroundWorker.h"
#include "stats/DynamicStats.h"
#include "StatsFakes.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <future>
#include <numeric>
#include <set>
#include <stdexcept>
#include <vector>

using namespace std::chrono_literals;

namespace {

long threadCount()
{
    return std::distance(std::filesystem::directory_iterator("/proc/self/task"), {});
}

// A kernel whose load averages wait at a gate, so a test holds a job mid-run.
struct GatedKernel : fakes::Kernel {
    std::shared_future<void> gate;
    std::atomic<int> entered{0};
    std::optional<std::array<double, 3>> loadAverages() override
    {
        ++entered;
        gate.wait();
        return std::array<double, 3>{1, 2, 3};
    }
};

struct GatedHost {
    std::promise<void> open;
    GatedKernel kernel;
    fakes::FakeBattery battery;
    fakes::Inhibitor idle;
    GatedHost() { kernel.gate = open.get_future().share(); }
    DynamicStats::Host host() { return {kernel, battery, idle, {}, false, {}}; }
};

// Polls without running an event loop, which could start threads of its own.
bool eventually(const std::function<bool()>& pred)
{
    for (int i = 0; i < 500 && !pred(); ++i)
        std::this_thread::sleep_for(10ms);
    return pred();
}

} // namespace

TEST(BackgroundWorkerTest, RunsJobsInPostedOrderOnOneThreadAndSurvivesAThrowingJob)
{
    BackgroundWorker worker("test-fifo");
    std::vector<int> order, expected(200); // order: written only by the worker thread
    std::set<std::thread::id> threads;
    std::iota(expected.begin(), expected.end(), 0);
    for (int i : expected) {
        if (i == 100)
            worker.post([] { throw std::runtime_error("broken source"); });
        worker.post([&, i] {
            order.push_back(i);
            threads.insert(std::this_thread::get_id());
        });
    }
    worker.waitIdle();
    EXPECT_EQ(order, expected);
    EXPECT_EQ(threads.size(), 1u);
    EXPECT_EQ(threads.count(std::this_thread::get_id()), 0u);
}

TEST(BackgroundWorkerTest, CancellingStopsOnlyThatJobAndShutdownCancelsTheRest)
{
    std::atomic<int> stoppedJobs{0};
    std::atomic<bool> laterJobSawStop{true};
    const auto spinUntilStopped = [&](CancelToken token) {
        while (!token.stop_requested())
            std::this_thread::sleep_for(1ms);
        ++stoppedJobs;
    };
    {
        BackgroundWorker worker("test-cancel");
        std::stop_source first = worker.postCancellable(spinUntilStopped);
        worker.postCancellable(
            [&](CancelToken token) { laterJobSawStop = token.stop_requested(); });
        first.request_stop();
        worker.waitIdle();
        EXPECT_EQ(stoppedJobs, 1);
        EXPECT_FALSE(laterJobSawStop); // the queue went on, and only the first was cancelled

        // Neither the running nor the queued long job would end by itself.
        worker.postCancellable(spinUntilStopped);
        worker.postCancellable(spinUntilStopped);
    } // must not hang
    EXPECT_EQ(stoppedJobs, 3);
}

TEST(BackgroundWorkerTest, AsyncRefreshesNeverStartAThreadPerCall)
{
    BackgroundWorker::snapshots(); // its one thread exists from here on
    GatedHost h;
    DynamicStats d(h.host());
    const int before = threadCount();
    // Every refresh blocks at the gate: a thread per call would leave 2000 alive.
    for (int i = 0; i < 2000; ++i)
        d.refreshLoadavgAsync();
    ASSERT_TRUE(eventually([&] { return h.kernel.entered >= 1; }));
    EXPECT_EQ(threadCount(), before);
    h.open.set_value();
    d.waitForAsync();
    EXPECT_EQ(h.kernel.entered, 2000);
    EXPECT_EQ(d.avg15(), 3.0);
}

TEST(BackgroundWorkerTest, CollectorDestructionWaitsForItsRunningAndQueuedJobs)
{
    GatedHost running, queued;
    std::promise<void> release; // one gate for both collectors' jobs
    std::shared_future<void> gate = release.get_future().share();
    running.kernel.gate = gate;
    queued.kernel.gate = gate;

    auto a = std::make_unique<DynamicStats>(running.host());
    auto b = std::make_unique<DynamicStats>(queued.host());
    a->refreshLoadavgAsync(); // runs and blocks at the gate
    b->refreshLoadavgAsync(); // waits behind it on the same worker
    ASSERT_TRUE(eventually([&] { return running.kernel.entered == 1; }));

    std::atomic<bool> aGone{false}, bGone{false};
    std::thread destroyA([&] {
        a.reset();
        aGone = true;
    });
    std::thread destroyB([&] {
        b.reset();
        bGone = true;
    });
    std::this_thread::sleep_for(50ms);
    EXPECT_FALSE(aGone);
    EXPECT_FALSE(bGone);
    release.set_value();
    destroyA.join();
    destroyB.join();
    // b's job ran to its end before b went away, not on a destroyed object.
    EXPECT_EQ(queued.kernel.entered, 1);
}
