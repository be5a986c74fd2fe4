#pragma once

#include <QLoggingCategory>

// The screens layer's log: "welvane.screens". A failed source or a fallback taken is
// logged once, not on every refresh.
Q_DECLARE_LOGGING_CATEGORY(lcScreens)
