#pragma once

#include <QLoggingCategory>

// The shell layer's log: "welvane.shell". A failed source or a fallback taken is
// logged once, not on every refresh.
Q_DECLARE_LOGGING_CATEGORY(lcShell)
