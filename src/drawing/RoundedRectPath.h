#pragma once

#include <QPainterPath>
#include <QRectF>

// The outline of every chart: a rectangle whose corners are quarter ellipses
// with radii ovalWidth and ovalHeight. Either of them 0 gives the plain
// rectangle. Radii above half the side overshoot, as the arcs are always
// of radius 1 in the oval-scaled space.
class RoundedRectPath {
public:
    static QPainterPath make(const QRectF& rect, double ovalWidth, double ovalHeight);
};
