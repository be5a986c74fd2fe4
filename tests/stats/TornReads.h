#pragma once
// Checks that readers never see a half-published refresh.

#include "stats/JobGroup.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>

namespace tornreads {

// Runs refresh over and over on the snapshot worker while this thread calls
// whole() (false on a reading that mixes two refreshes) until at least
// `reads` readings and `refreshes` source reads have overlapped.
inline void expectWholeReadings(const std::function<void()>& refresh,
                                const std::function<bool()>& whole,
                                const std::function<long()>& sourceReads, long reads,
                                long refreshes)
{
    std::atomic<bool> stop{false};
    JobGroup refresher(BackgroundWorker::snapshots());
    refresher.post([&] {
        while (!stop)
            refresh();
    });
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    for (long n = 0;
         (n < reads || sourceReads() < refreshes) && std::chrono::steady_clock::now() < deadline;
         ++n)
        if (!whole()) {
            ADD_FAILURE() << "a reading mixed two refreshes after " << n << " reads";
            break;
        }
    stop = true;
    refresher.wait();
    EXPECT_GE(sourceReads(), refreshes);
}

} // namespace tornreads
