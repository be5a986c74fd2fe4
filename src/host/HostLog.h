#pragma once

#include <QLoggingCategory>

// The host layer's log: "welvane.host". A failed source or a fallback taken is
// logged once, not on every refresh.
Q_DECLARE_LOGGING_CATEGORY(lcHost)
