#pragma once

#include "drawing/BarChart.h"
#include "drawing/OnOffView.h"

#include <QColor>
#include <QImage>

#include <cmath>

namespace drawingtest {

// The pixel under a point given in points.
inline QColor pixelAt(const QImage& image, double x, double y)
{
    const qreal r = image.devicePixelRatio();
    return image.pixelColor(static_cast<int>(x * r), static_cast<int>(y * r));
}

inline double luminance(const QColor& c)
{
    return 0.299 * c.red() + 0.587 * c.green() + 0.114 * c.blue();
}

inline bool isWhite(const QColor& c)
{
    return c.red() == 255 && c.green() == 255 && c.blue() == 255 && c.alpha() == 255;
}

inline bool allOpaque(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) != 255)
                return false;
    return true;
}

// Draws a chart of the given items at a fixed scale.
inline QImage chart(std::initializer_list<std::pair<float, QColor>> items, QSizeF size,
                    float radius, qreal ratio)
{
    BarChart& bc = BarChart::instance();
    bc.setDevicePixelRatio(ratio);
    bc.clearItems();
    for (const auto& [value, color] : items)
        bc.addItemValue(value, color);
    return bc.drawChartInRect(QRectF(QPointF(0, 0), size), radius);
}

// The lamp images are made by the first lamp of the process; every test that
// touches lamps goes through here first so that lamp is known: the large
// screen's 14 x 14 disc at 2x.
inline const QSize kFirstLampSize(14, 14);
inline void ensureFirstLamp()
{
    static bool made = [] {
        BarChart::instance().setDevicePixelRatio(2.0);
        OnOffView first(QRect(QPoint(0, 0), kFirstLampSize), 7.0f);
        return true;
    }();
    (void)made;
}

} // namespace drawingtest
