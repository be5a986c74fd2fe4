#include "metrics/MetricsLog.h"

Q_LOGGING_CATEGORY(lcMetrics, "welvane.metrics", QtInfoMsg)
