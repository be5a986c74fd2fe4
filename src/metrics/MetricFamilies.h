#pragma once

#include "metrics/MetricsReading.h"

#include <prometheus/metric_family.h>

#include <vector>

// Turns one reading into Prometheus metric families: base units (bytes,
// seconds, ratios 0..1), "_total" counters, labels for kinds. A reading that
// failed gives no family of its own, only welvane_collector_success 0.
class MetricFamilies {
public:
    // withIdentity adds the device ID and the hardware addresses.
    static std::vector<prometheus::MetricFamily> build(const MetricsReading& reading,
                                                       bool withIdentity);
};
