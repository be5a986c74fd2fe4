#include "drawing/RoundedRectPath.h"

#include <QTransform>

#include <cmath>

namespace {

// Appends a line to where a radius-1 arc meets the edge towards `corner`,
// then the quarter arc round the corner to the edge towards `towards`. The
// edges meet at right angles, so the tangent points lie one unit from the
// corner along each edge.
void addArcToPoint(QPainterPath& path, QPointF corner, QPointF towards)
{
    const QPointF from = path.currentPosition();
    const auto unit = [](QPointF d) {
        const double len = std::hypot(d.x(), d.y());
        return len > 0 ? d / len : QPointF();
    };
    const QPointF start = corner + unit(from - corner);
    const QPointF end = corner + unit(towards - corner);
    // Cubic approximation of a quarter circle.
    constexpr double kappa = 0.5522847498307936;
    path.lineTo(start);
    path.cubicTo(start + (corner - start) * kappa, end + (corner - end) * kappa, end);
}

} // namespace

QPainterPath RoundedRectPath::make(const QRectF& rect, double ovalWidth, double ovalHeight)
{
    QPainterPath path;
    if (ovalWidth == 0.0 || ovalHeight == 0.0) {
        path.addRect(rect);
        return path;
    }
    const double fw = rect.width() / ovalWidth;
    const double fh = rect.height() / ovalHeight;
    QPainterPath unit;
    unit.moveTo(fw, fh / 2);
    addArcToPoint(unit, {fw, fh}, {fw / 2, fh});
    addArcToPoint(unit, {0, fh}, {0, fh / 2});
    addArcToPoint(unit, {0, 0}, {fw / 2, 0});
    addArcToPoint(unit, {fw, 0}, {fw, fh / 2});
    unit.closeSubpath();
    const QTransform toRect(ovalWidth, 0, 0, ovalHeight, rect.x(), rect.y());
    return toRect.map(unit);
}
