#pragma once

#include "drawing/CustomCell.h"

// A plain title-and-value row that is never chosen: both texts in the
// title's font at the screen class's row size. The Memory and File
// Statistics pages list their figures in these.
class ValueRowCell {
public:
    static CustomCell* create(const QString& reuseIdentifier);
};
