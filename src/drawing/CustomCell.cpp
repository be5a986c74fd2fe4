#include "drawing/CustomCell.h"

#include "ui/Device.h"

#include <QLabel>

namespace {
void shiftX(QWidget* view, int dx)
{
    if (view)
        view->move(view->x() + dx, view->y());
}
} // namespace

CustomCell::CustomCell(ui::CellStyle style, const QString& reuseIdentifier, QWidget* parent)
    : ui::TableViewCell(style, reuseIdentifier, parent)
{
}

void CustomCell::layoutSubviews()
{
    ui::TableViewCell::layoutSubviews();
    if (!ui::Device::isPad())
        return;
    shiftX(detailTextLabel(), detailShift());
    shiftX(textLabel(), 10);
    shiftX(accessoryView(), -10);
}
