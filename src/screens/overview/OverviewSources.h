#pragma once

#include <functional>

class Battery;
class ConnectionStats;
class DynamicStats;
class RouteStats;
class SemiDynamicStats;
class StaticStats;

// Where the Overview reads its values: the shared collectors and the real
// battery in the application, private instances over fakes in tests.
struct OverviewSources {
    DynamicStats* dynamicStats = nullptr;
    SemiDynamicStats* semiDynamicStats = nullptr;
    StaticStats* staticStats = nullptr;
    RouteStats* routeStats = nullptr;
    ConnectionStats* connectionStats = nullptr;
    Battery* battery = nullptr;
    std::function<double()> now; // calendar seconds, with fractions

    // The shared instances and the wall clock.
    static OverviewSources shared();
};
