#pragma once

#include "drawing/CustomCell.h"

// Like CustomCell, but on large screens the detail text sits further left,
// clear of the switches these rows carry.
class CustomDetailCell : public CustomCell {
    Q_OBJECT
public:
    using CustomCell::CustomCell;

protected:
    int detailShift() const override { return -30; }
};
