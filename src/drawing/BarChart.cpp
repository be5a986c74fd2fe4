#include "drawing/BarChart.h"

#include "drawing/GlossShading.h"
#include "drawing/Palette.h"
#include "drawing/RoundedRectPath.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace {
constexpr double kGlossWidth = 1300.0;
// Each bar is drawn this much wider than its share so that the next one
// covers the seam.
constexpr float kOverlap = 3.0f;

bool draws(const BarChartItem& item)
{
    return item.value() >= 0.0f && std::isfinite(item.value());
}

QImage newImage(double width, double height, qreal ratio)
{
    QImage image(std::max(1, static_cast<int>(std::ceil(width * ratio))),
                 std::max(1, static_cast<int>(std::ceil(height * ratio))),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    return image;
}
} // namespace

BarChart& BarChart::instance()
{
    static BarChart shared;
    return shared;
}

void BarChart::addItemValue(float value, const QColor& color)
{
    if (m_items.capacity() == 0)
        m_items.reserve(5);
    m_items.emplace_back(value, color);
}

void BarChart::clearItems()
{
    m_items.clear();
}

qreal BarChart::devicePixelRatio() const
{
    if (m_devicePixelRatio > 0.0)
        return m_devicePixelRatio;
    if (qGuiApp) {
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            return screen->devicePixelRatio();
    }
    return 1.0;
}

QString BarChart::glossCacheKey(float height, const QColor& color)
{
    const RgbColor c = ColorComponents::rgb(color);
    return QString::asprintf("%.1f:%.1f:%.1f:%.1f", static_cast<double>(height), c.r * 255.0,
                             c.g * 255.0, c.b * 255.0);
}

QImage BarChart::glossImage(float height, const QColor& color)
{
    const qreal ratio = devicePixelRatio();
    QHash<QString, QImage>& cache = m_glossCache[ratio];
    const QString key = glossCacheKey(height, color);
    auto it = cache.find(key);
    if (it == cache.end())
        it = cache.insert(key, makeGlossImage(ColorComponents::rgb(color), height, ratio));
    return *it;
}

int BarChart::glossCacheCount() const
{
    const auto it = m_glossCache.find(devicePixelRatio());
    return it == m_glossCache.end() ? 0 : static_cast<int>(it->second.size());
}

bool BarChart::hasGlossImage(const QString& key) const
{
    const auto it = m_glossCache.find(devicePixelRatio());
    return it != m_glossCache.end() && it->second.contains(key);
}

QImage BarChart::makeGlossImage(RgbColor color, float height, qreal devicePixelRatio)
{
    QImage image = newImage(kGlossWidth, height, devicePixelRatio);
    const GlossShading::Parameters params = GlossShading::parameters(color);
    const double rows = height * devicePixelRatio;
    const auto to8 = [](float v) {
        return qBound(0, static_cast<int>(std::lround(v * 255.0f)), 255);
    };
    for (int y = 0; y < image.height(); ++y) {
        // Sample at the centre of the pixel row; the shading does not extend
        // past its ends.
        const double t = (y + 0.5) / rows;
        if (t > 1.0)
            break;
        const std::array<float, 4> c = GlossShading::evaluate(params, static_cast<float>(t));
        const QRgb pixel = qPremultiply(qRgba(to8(c[0]), to8(c[1]), to8(c[2]), to8(c[3])));
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        std::fill(line, line + image.width(), pixel);
    }
    return image;
}

QImage BarChart::frameOverlay(const QRectF& rect, float cornerRadius, qreal ratio)
{
    const QString key = QString::asprintf("%g:%g:%g:%g:%g:%g", rect.x(), rect.y(), rect.width(),
                                          rect.height(), static_cast<double>(cornerRadius), ratio);
    auto it = m_frameCache.find(key);
    if (it != m_frameCache.end())
        return *it;
    QImage overlay = newImage(rect.width(), rect.height(), ratio);
    QPainter painter(&overlay);
    const QPainterPath outline = RoundedRectPath::make(rect, cornerRadius, cornerRadius);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(palette::kChartOutline, 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(outline);
    // Clip to the outline by painting everything outside it white: the
    // corners stay white, not transparent, and only the inner half of the
    // line shows.
    QPainterPath outside = outline;
    outside.addRect(rect);
    outside.setFillRule(Qt::OddEvenFill);
    painter.fillPath(outside, Qt::white);
    painter.end();
    return *m_frameCache.insert(key, overlay);
}

namespace {
// Lays `overlay` over `row` (both premultiplied ARGB, same length): most
// overlay pixels are fully clear or fully opaque, only the antialiased edge
// needs real blending.
void blendRow(QRgb* row, const QRgb* overlay, int count)
{
    for (int i = 0; i < count; ++i) {
        const QRgb o = overlay[i];
        const uint a = qAlpha(o);
        if (a == 0)
            continue;
        if (a == 255) {
            row[i] = o;
            continue;
        }
        const uint inv = 255 - a;
        const QRgb d = row[i];
        row[i] =
            qRgba(qRed(o) + (qRed(d) * inv + 127) / 255, qGreen(o) + (qGreen(d) * inv + 127) / 255,
                  qBlue(o) + (qBlue(d) * inv + 127) / 255, a + (qAlpha(d) * inv + 127) / 255);
    }
}
} // namespace

QImage BarChart::drawChartInRect(const QRectF& rect, float cornerRadius)
{
    const qreal ratio = devicePixelRatio();
    QImage image(std::max(1, static_cast<int>(std::ceil(rect.width() * ratio))),
                 std::max(1, static_cast<int>(std::ceil(rect.height() * ratio))),
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);

    // The bars and the frame are copies of cached images, row by row in
    // device pixels: no painter and no scaling on the cached path.
    float total = 0.0f;
    for (const BarChartItem& item : m_items)
        if (draws(item))
            total += item.value();
    if (total > 0.0f && std::isfinite(total)) {
        const float height = static_cast<float>(rect.height());
        const float scale = static_cast<float>(rect.width()) / total;
        const int top = static_cast<int>(std::lround(rect.y() * ratio));
        // Bars start at 0, not at the rectangle's x: every caller draws at
        // the origin.
        float x = 0.0f;
        for (const BarChartItem& item : m_items) {
            if (!draws(item))
                continue;
            const float width = item.value() * scale + kOverlap;
            const int left = std::clamp(static_cast<int>(std::lround(x * ratio)), 0, image.width());
            const int right =
                std::clamp(static_cast<int>(std::lround((x + width) * ratio)), left, image.width());
            const QImage gloss = glossImage(height, item.color());
            for (int y = 0; y < gloss.height() && top + y < image.height(); ++y) {
                if (top + y < 0)
                    continue;
                // The shading is vertical only: a bar wider than the gloss
                // image repeats its last column, as stretching would.
                const auto* src = reinterpret_cast<const QRgb*>(gloss.constScanLine(y));
                auto* dst = reinterpret_cast<QRgb*>(image.scanLine(top + y));
                const int copy = std::min(right - left, gloss.width());
                std::copy(src, src + copy, dst + left);
                std::fill(dst + left + copy, dst + right, src[gloss.width() - 1]);
            }
            x += width - kOverlap;
        }
    }
    const QImage frame = frameOverlay(rect, cornerRadius, ratio);
    for (int y = 0; y < std::min(frame.height(), image.height()); ++y)
        blendRow(reinterpret_cast<QRgb*>(image.scanLine(y)),
                 reinterpret_cast<const QRgb*>(frame.constScanLine(y)),
                 std::min(frame.width(), image.width()));
    image.setDevicePixelRatio(ratio);
    return image;
}
