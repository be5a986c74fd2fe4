#pragma once

#include <functional>

class Battery;
class ConnectionStats;
class Defaults;
class DynamicStats;
class FullChargeAlarm;
class RouteStats;
class SemiDynamicStats;
class StaticStats;

// What the Overview reads and drives: the collectors, the battery, the
// settings and the full-charge alarm it checks on battery changes. The
// application hands in its one set; tests hand in private ones over fakes.
struct OverviewSources {
    DynamicStats& dynamicStats;
    SemiDynamicStats& semiDynamicStats;
    StaticStats& staticStats;
    RouteStats& routeStats;
    ConnectionStats& connectionStats;
    Battery& battery;
    Defaults& defaults;
    FullChargeAlarm& alarm;
    std::function<double()> now; // calendar seconds, with fractions
};
