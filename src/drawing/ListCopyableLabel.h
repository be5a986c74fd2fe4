#pragma once

#include "drawing/CopyableLabel.h"

// A copyable label of the system-log rows, whose text starts at the left:
// its menu points near the left end on every screen.
class ListCopyableLabel : public CopyableLabel {
    Q_OBJECT
public:
    using CopyableLabel::CopyableLabel;

    QRect menuTargetRect() const override { return QRect(34, 0, 20, height()); }
};
