#include "screens/overview/OverviewSources.h"

#include "host/HostServices.h"
#include "stats/ConnectionStats.h"
#include "stats/DynamicStats.h"
#include "stats/RouteStats.h"
#include "stats/SemiDynamicStats.h"
#include "stats/StaticStats.h"

#include <QDateTime>

OverviewSources OverviewSources::shared()
{
    OverviewSources s;
    s.dynamicStats = &DynamicStats::instance();
    s.semiDynamicStats = &SemiDynamicStats::instance();
    s.staticStats = &StaticStats::instance();
    s.routeStats = &RouteStats::instance();
    s.connectionStats = &ConnectionStats::instance();
    s.battery = &HostServices::battery();
    s.now = [] { return QDateTime::currentMSecsSinceEpoch() / 1000.0; };
    return s;
}
