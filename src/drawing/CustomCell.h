#pragma once

#include "ui/TableViewCell.h"

// The standard cell, with its labels and accessory moved on large screens
// so the rows line up with the wider grouped tables there.
class CustomCell : public ui::TableViewCell {
    Q_OBJECT
public:
    CustomCell(ui::CellStyle style, const QString& reuseIdentifier, QWidget* parent = nullptr);

    void layoutSubviews() override;

protected:
    // How far the detail text moves along x on large screens.
    virtual int detailShift() const { return -10; }
};
