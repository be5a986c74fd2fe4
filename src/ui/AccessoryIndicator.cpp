#include "ui/AccessoryIndicator.h"

#include <QPainter>
#include <QPainterPath>

namespace ui {

AccessoryIndicator::AccessoryIndicator(AccessoryType type, QWidget* parent)
    : QWidget(parent), m_type(type)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setProperty("dumpText",
                type == AccessoryType::Checkmark ? QStringLiteral("[check]") : QStringLiteral(">"));
}

void AccessoryIndicator::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c = rect().center();
    QPainterPath path;
    if (m_type == AccessoryType::DisclosureIndicator) {
        p.setPen(QPen(QColor(128, 128, 128), 3, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        path.moveTo(c.x() - 3, c.y() - 6);
        path.lineTo(c.x() + 3, c.y());
        path.lineTo(c.x() - 3, c.y() + 6);
    } else {
        p.setPen(QPen(QColor(50, 79, 133), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        path.moveTo(c.x() - 7, c.y());
        path.lineTo(c.x() - 2, c.y() + 6);
        path.lineTo(c.x() + 7, c.y() - 7);
    }
    p.drawPath(path);
}

} // namespace ui
