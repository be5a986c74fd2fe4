#include "drawing/DrawingLog.h"

Q_LOGGING_CATEGORY(lcDrawing, "welvane.drawing")
