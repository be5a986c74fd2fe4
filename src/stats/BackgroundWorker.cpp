#include "stats/BackgroundWorker.h"

#include "stats/StatsLog.h"

#include <pthread.h>

#include <exception>

BackgroundWorker::BackgroundWorker(std::string name) : m_name(std::move(name))
{
    m_thread = std::thread([this] { loop(); });
    // Named so a stack dump or top -H tells the two workers apart (15 bytes at most).
    pthread_setname_np(m_thread.native_handle(), m_name.substr(0, 15).c_str());
}

BackgroundWorker::~BackgroundWorker()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
        m_running.request_stop();
        for (Entry& e : m_queue)
            e.stop.request_stop();
    }
    m_wake.notify_all();
    m_thread.join();
}

BackgroundWorker& BackgroundWorker::snapshots()
{
    static BackgroundWorker worker("welvane-snap");
    return worker;
}

BackgroundWorker& BackgroundWorker::longJobs()
{
    static BackgroundWorker worker("welvane-long");
    return worker;
}

void BackgroundWorker::post(Job job)
{
    enqueue({[job = std::move(job)](CancelToken) { job(); }, std::stop_source()});
}

std::stop_source BackgroundWorker::postCancellable(CancellableJob job)
{
    std::stop_source stop;
    enqueue({std::move(job), stop});
    return stop;
}

void BackgroundWorker::enqueue(Entry entry)
{
    {
        std::lock_guard lock(m_mutex);
        if (m_stopping) {
            // Only possible while the process ends: the job is dropped, and its
            // captures released, rather than run on a thread that is leaving.
            qCWarning(lcStats) << "job posted to" << m_name.c_str() << "after shutdown, dropped";
            return;
        }
        m_queue.push_back(std::move(entry));
    }
    m_wake.notify_one();
}

void BackgroundWorker::waitIdle()
{
    std::unique_lock lock(m_mutex);
    m_idle.wait(lock, [this] { return m_queue.empty() && !m_busy; });
}

void BackgroundWorker::loop()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
        if (m_queue.empty())
            break; // stopping, and everything queued has run
        Entry entry = std::move(m_queue.front());
        m_queue.pop_front();
        if (m_stopping)
            entry.stop.request_stop();
        m_running = entry.stop;
        m_busy = true;
        lock.unlock();
        try {
            entry.job(entry.stop.get_token());
        } catch (const std::exception& e) {
            // One failed job must not take the worker, and every later job, with it.
            qCWarning(lcStats) << m_name.c_str() << "job failed:" << e.what();
        }
        // Captures go before the job counts as done, so whoever waits for it
        // may destroy what they refer to.
        entry = Entry{};
        lock.lock();
        m_busy = false;
        m_running = std::stop_source(std::nostopstate);
        if (m_queue.empty())
            m_idle.notify_all();
    }
    m_idle.notify_all();
}
