#include "host/HostLog.h"

// Debug lines (ordinary absences, such as no system bus in a container) only
// with --verbose or QT_LOGGING_RULES="welvane.host.debug=true".
Q_LOGGING_CATEGORY(lcHost, "welvane.host", QtInfoMsg)
