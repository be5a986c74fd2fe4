#include "stats/MediaStats.h"

#include <utility>

MediaStats::MediaStats(MediaLibrary& library, BackgroundWorker& worker)
    : m_library(library), m_jobs(worker)
{
}

MediaStats::~MediaStats()
{
    m_stop.request_stop();
}

int MediaStats::refreshMediaStatsAsync(std::string folder, Counted counted)
{
    m_stop.request_stop();
    m_stop = std::stop_source();
    const int pass = ++m_pass;
    m_jobs.post([this, pass, stop = m_stop.get_token(), folder = std::move(folder),
                 counted = std::move(counted)] {
        m_library.countAll(folder, stop,
                           [&](MediaQuery query, int32_t value) { counted(pass, query, value); });
    });
    return pass;
}
