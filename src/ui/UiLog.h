#pragma once

#include <QLoggingCategory>

// The ui layer's log: "welvane.ui". A failed source or a fallback taken is
// logged once, not on every refresh.
Q_DECLARE_LOGGING_CATEGORY(lcUi)
