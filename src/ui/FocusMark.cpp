#include "ui/FocusMark.h"

#include <QPainter>
#include <QWidget>

namespace ui {

void FocusMark::paint(QWidget* widget)
{
    QPainter painter(widget);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(color(), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(widget->rect()).adjusted(1, 1, -1, -1), 4, 4);
}

QString FocusMark::styleRule(const QString& selector)
{
    return selector + QStringLiteral(":focus { border: 2px solid %1; }").arg(color().name());
}

} // namespace ui
