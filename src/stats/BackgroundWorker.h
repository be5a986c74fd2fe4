#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <stop_token>
#include <string>
#include <thread>

// A long job checks this between steps and returns early once stop is requested.
using CancelToken = std::stop_token;

// One long-lived thread running queued jobs in the order they were posted.
// The process keeps two: one for short snapshots and refreshes, one for long
// cancellable jobs, so a long job never delays a snapshot the user waits for.
class BackgroundWorker {
public:
    using Job = std::function<void()>;
    using CancellableJob = std::function<void(CancelToken)>;

    explicit BackgroundWorker(std::string name);
    // Requests stop on every job not yet finished, runs what is still queued
    // (a cancellable job sees the request at once) and joins the thread.
    ~BackgroundWorker();
    BackgroundWorker(const BackgroundWorker&) = delete;
    BackgroundWorker& operator=(const BackgroundWorker&) = delete;

    // The short-job worker: the collectors' Async twins, socket and route snapshots.
    static BackgroundWorker& snapshots();
    // The long-job worker: media scans, log windows.
    static BackgroundWorker& longJobs();

    void post(Job job);
    // Returns the job's own stop source: requesting stop cancels this job only.
    std::stop_source postCancellable(CancellableJob job);

    // Blocks until the queue is empty and no job runs. Not from a job itself.
    void waitIdle();

private:
    struct Entry {
        CancellableJob job;
        std::stop_source stop;
    };

    void enqueue(Entry entry);
    void loop();

    std::string m_name;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::deque<Entry> m_queue;
    std::stop_source m_running{std::nostopstate}; // the job now running
    bool m_busy = false;
    bool m_stopping = false;
    std::thread m_thread;
};
