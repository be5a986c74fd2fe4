#pragma once

#include <functional>
#include <mutex>
#include <thread>
#include <vector>

// Runs a collector's refresh work on new background threads and joins them
// all before the collector goes away. The work itself guards its data.
class AsyncRunner {
public:
    AsyncRunner() = default;
    AsyncRunner(const AsyncRunner&) = delete;
    AsyncRunner& operator=(const AsyncRunner&) = delete;
    ~AsyncRunner() { waitAll(); }

    void run(std::function<void()> work);
    // Joins every thread started so far.
    void waitAll();

private:
    std::mutex m_mutex;
    std::vector<std::thread> m_threads;
};
