#pragma once

#include <QLoggingCategory>

// The rating layer's log: "welvane.rating". A failed source or a fallback taken is
// logged once, not on every refresh.
Q_DECLARE_LOGGING_CATEGORY(lcRating)
