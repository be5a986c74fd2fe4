#pragma once

#include "drawing/BarChartItem.h"
#include "drawing/ColorComponents.h"

#include <QHash>

#include "drawing/ChartFrame.h"

#include <QImage>
#include <QRectF>
#include <QString>
#include <tuple>

#include <map>
#include <vector>

// The shared renderer of every chart, legend swatch and lamp: one rounded
// rectangle filled left to right with glossy segments in proportion to their
// values, outlined in grey. Each segment is a stretched copy of a gloss image
// that is made once per (height, colour) and kept for the life of the process,
// so a chart costs a few image copies once the cache is warm.
// Main thread only, except instance().
class BarChart {
public:
    static BarChart& instance();

    void addItemValue(float value, const QColor& color);
    void clearItems();
    const std::vector<BarChartItem>& items() const { return m_items; }

    // A new image of rect's size showing the current items; the items stay.
    // An item with a negative value draws nothing; items that add up to 0
    // leave only the background and the outline.
    QImage drawChartInRect(const QRectF& rect, float cornerRadius);

    // Scale of the images made from now on. 0 (the default) follows the
    // primary screen, or 1 without one.
    qreal devicePixelRatio() const;
    void setDevicePixelRatio(qreal ratio) { m_devicePixelRatio = ratio; }

    // The cache key of a gloss image: height and colour, alpha left out.
    static QString glossCacheKey(float height, const QColor& color);
    // The cached gloss image, made on a miss.
    QImage glossImage(float height, const QColor& color);
    // Gloss images held at the current scale.
    int glossCacheCount() const;
    bool hasGlossImage(const QString& key) const;

    // A gloss image 1300 points wide and `height` high; the shading changes
    // only from top to bottom, so it may be stretched to any width.
    static QImage makeGlossImage(RgbColor color, float height, qreal devicePixelRatio);

private:
    const ChartFrame& frame(const QRectF& rect, float cornerRadius, qreal ratio);
    const QImage& glossForDrawing(float height, const QColor& color, qreal ratio);
    BarChart() = default;
    BarChart(const BarChart&) = delete;
    BarChart& operator=(const BarChart&) = delete;

    std::vector<BarChartItem> m_items;
    // One dictionary per scale, so a scale change never stretches images
    // made for another; the keys themselves leave scale out.
    std::map<qreal, QHash<QString, QImage>> m_glossCache;
    // The same images by exact height, colour and scale, for drawing.
    using GlossKey = std::tuple<qreal, float, float, float, float>;
    std::map<GlossKey, QImage> m_glossIndex;
    // The outline and the white outside it, per chart rectangle, radius and scale.
    using FrameKey = std::tuple<qreal, qreal, qreal, qreal, float, qreal>;
    std::map<FrameKey, ChartFrame> m_frameCache;
    qreal m_devicePixelRatio = 0.0;
};
