#pragma once

#include <QLoggingCategory>

// The app layer's log: "welvane.app". A failed source or a fallback taken is
// logged once, not on every refresh.
Q_DECLARE_LOGGING_CATEGORY(lcApp)
