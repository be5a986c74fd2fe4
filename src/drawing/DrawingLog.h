#pragma once

#include <QLoggingCategory>

// The drawing layer's log: "welvane.drawing". A failed source or a fallback taken is
// logged once, not on every refresh.
Q_DECLARE_LOGGING_CATEGORY(lcDrawing)
