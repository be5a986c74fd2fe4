#pragma once

#include <QWidget>

#include "ui/TableViewCell.h"

namespace ui {

// The drawn accessory of a cell: a grey chevron for a disclosure row or a
// blue tick for a marked row.
class AccessoryIndicator : public QWidget {
    Q_OBJECT
public:
    AccessoryIndicator(AccessoryType type, QWidget* parent);
    AccessoryType type() const { return m_type; }
    QSize sizeHint() const override { return {20, 20}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    AccessoryType m_type;
};

} // namespace ui
