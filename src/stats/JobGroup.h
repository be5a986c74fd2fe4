#pragma once

#include "stats/BackgroundWorker.h"

#include <condition_variable>
#include <cstddef>
#include <mutex>

// The jobs one owner has posted to a worker and that are not finished yet.
// An owner keeps one as its last member, so its destructor waits for its own
// jobs before the fields they write go away; other owners' jobs don't count.
class JobGroup {
public:
    explicit JobGroup(BackgroundWorker& worker) : m_worker(worker) {}
    ~JobGroup() { wait(); }
    JobGroup(const JobGroup&) = delete;
    JobGroup& operator=(const JobGroup&) = delete;

    void post(BackgroundWorker::Job job);
    // Blocks until every job posted through this group has run (or was dropped).
    void wait();
    std::size_t pending() const;

private:
    void finished();

    BackgroundWorker& m_worker;
    mutable std::mutex m_mutex;
    std::condition_variable m_done;
    std::size_t m_pending = 0;
};
