#include "metrics/MetricsCollector.h"

#include "metrics/MetricFamilies.h"

MetricsCollector::MetricsCollector(std::function<MetricsReading()> read, bool withIdentity,
                                   std::chrono::milliseconds interval, Clock clock)
    : m_read(std::move(read)), m_withIdentity(withIdentity), m_interval(interval),
      m_clock(std::move(clock))
{
    if (!m_clock)
        m_clock = [] { return std::chrono::steady_clock::now(); };
}

std::vector<prometheus::MetricFamily> MetricsCollector::Collect() const
{
    std::shared_ptr<const std::vector<prometheus::MetricFamily>> families;
    {
        std::lock_guard lock(m_mutex);
        const auto now = m_clock();
        if (!m_families || now - m_refreshedAt >= m_interval) {
            m_families = std::make_shared<const std::vector<prometheus::MetricFamily>>(
                MetricFamilies::build(m_read(), m_withIdentity));
            // From the start of the refresh: a slow reading does not stretch
            // the interval between readings.
            m_refreshedAt = now;
            ++m_refreshes;
        }
        families = m_families;
    }
    return *families; // copied outside the lock
}

int MetricsCollector::refreshes() const
{
    std::lock_guard lock(m_mutex);
    return m_refreshes;
}
