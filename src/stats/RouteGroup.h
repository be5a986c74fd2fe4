#pragma once

#include "stats/RouteInfo.h"

#include <string>
#include <vector>

// The routes of one consecutive run of one address family.
struct RouteGroup {
    std::string name;
    std::vector<RouteInfo> routeList;
};
