#pragma once

#include <QLoggingCategory>

// The exporter's log: "welvane.metrics". A failed source is logged once, not
// on every scrape.
Q_DECLARE_LOGGING_CATEGORY(lcMetrics)
