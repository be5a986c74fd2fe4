#pragma once

#include <QLoggingCategory>

// The stats layer's log: "welvane.stats". A failed source or a fallback taken is
// logged once, not on every refresh.
Q_DECLARE_LOGGING_CATEGORY(lcStats)
