#pragma once

#include "host/RouteRecord.h"

#include <QMetaType>

// A default route of the main table as the kernel announced it: added,
// replacing the route of the same family, metric and type of service, or
// removed. Keeps the default gateway current without reading the table.
struct DefaultRouteChange {
    enum class Kind { Added, Replaced, Removed };
    Kind kind = Kind::Added;
    RouteRecord route;
};

Q_DECLARE_METATYPE(DefaultRouteChange)
