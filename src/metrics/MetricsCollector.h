#pragma once

#include "metrics/MetricsReading.h"

#include <prometheus/collectable.h>
#include <prometheus/metric_family.h>

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

// What the HTTP server asks on each scrape. Readings are refreshed at most
// once per interval: scrapes that arrive together or in quick succession
// share one refresh (a scrape arriving during a refresh waits for it and
// answers with its result).
class MetricsCollector : public prometheus::Collectable {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    MetricsCollector(std::function<MetricsReading()> read, bool withIdentity,
                     std::chrono::milliseconds interval = std::chrono::seconds(1),
                     Clock clock = {});

    std::vector<prometheus::MetricFamily> Collect() const override;

    // How many refreshes have run (tests, the benchmark).
    int refreshes() const;

private:
    std::function<MetricsReading()> m_read;
    bool m_withIdentity;
    std::chrono::milliseconds m_interval;
    Clock m_clock;
    mutable std::mutex m_mutex; // held through a refresh: that is the sharing
    mutable std::shared_ptr<const std::vector<prometheus::MetricFamily>> m_families;
    mutable std::chrono::steady_clock::time_point m_refreshedAt;
    mutable int m_refreshes = 0;
};
