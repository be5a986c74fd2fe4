#pragma once

#include "host/MediaLibrary.h"
#include "stats/BackgroundWorker.h"
#include "stats/JobGroup.h"

#include <functional>
#include <stop_token>
#include <string>

// Counting passes over the media library, run one at a time on the long-job
// worker. A new pass supersedes the one before it: that one stops at its next
// file (keeping the tags it has read in the cache) and reports nothing more.
// Counts travel with their pass number, so whoever shows them can drop those
// of a superseded pass that were already on their way.
class MediaStats {
public:
    // Called on the worker thread, once per count, in row order.
    using Counted = std::function<void(int pass, MediaQuery query, int32_t value)>;

    explicit MediaStats(MediaLibrary& library,
                        BackgroundWorker& worker = BackgroundWorker::longJobs());
    // Stops the running pass and waits until it has returned.
    ~MediaStats();
    MediaStats(const MediaStats&) = delete;
    MediaStats& operator=(const MediaStats&) = delete;

    // Starts a pass over folder and returns its number.
    int refreshMediaStatsAsync(std::string folder, Counted counted);
    // The number of the newest pass; 0 before the first.
    int pass() const { return m_pass; }

private:
    MediaLibrary& m_library;
    std::stop_source m_stop{std::nostopstate};
    int m_pass = 0;
    JobGroup m_jobs; // last: its destructor waits for the pass that uses the fields above
};
