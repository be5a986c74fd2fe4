#include "drawing/BarChart.h"

#include "drawing/ChartFrame.h"

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

const ChartFrame& BarChart::frame(const QRectF& rect, float cornerRadius, qreal ratio)
{
    const FrameKey key{rect.x(), rect.y(), rect.width(), rect.height(), cornerRadius, ratio};
    auto it = m_frameCache.find(key);
    if (it == m_frameCache.end())
        it = m_frameCache.emplace(key, ChartFrame::make(rect, cornerRadius, ratio)).first;
    return it->second;
}

const QImage& BarChart::glossForDrawing(float height, const QColor& color, qreal ratio)
{
    // The text key is the rule; this index by exact numbers only saves
    // formatting it on every draw. Both lead to the same image.
    const RgbColor c = ColorComponents::rgb(color);
    const GlossKey key{ratio, height, c.r, c.g, c.b};
    auto it = m_glossIndex.find(key);
    if (it == m_glossIndex.end()) {
        // Shares the cached pixels; rows are read in device pixels below.
        it = m_glossIndex.emplace(key, glossImage(height, color)).first;
    }
    return it->second;
}

QImage BarChart::drawChartInRect(const QRectF& rect, float cornerRadius)
{
    const qreal ratio = devicePixelRatio();
    QImage image(std::max(1, static_cast<int>(std::ceil(rect.width() * ratio))),
                 std::max(1, static_cast<int>(std::ceil(rect.height() * ratio))),
                 QImage::Format_ARGB32_Premultiplied);
    uchar* bits = image.bits();
    const qsizetype stride = image.bytesPerLine();

    // The bars and the frame are copies of cached images, row by row in
    // device pixels: no painter and no scaling on the cached path.
    float total = 0.0f;
    for (const BarChartItem& item : m_items)
        if (draws(item))
            total += item.value();
    const int top = static_cast<int>(std::lround(rect.y() * ratio));
    bool covered = false; // every pixel written by a bar: no background needed
    if (total > 0.0f && std::isfinite(total)) {
        const float height = static_cast<float>(rect.height());
        const float scale = static_cast<float>(rect.width()) / total;
        // The bars together span the whole width (the last runs past the
        // right edge); only their height decides whether they cover all.
        const auto first = std::find_if(m_items.begin(), m_items.end(), draws);
        covered =
            top == 0 && glossForDrawing(height, first->color(), ratio).height() >= image.height();
        if (!covered)
            image.fill(Qt::white);
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
            const QImage& gloss = glossForDrawing(height, item.color(), ratio);
            const int copy = std::min(right - left, gloss.width());
            for (int y = 0; y < gloss.height() && top + y < image.height(); ++y) {
                if (top + y < 0)
                    continue;
                // The shading is vertical only: a bar wider than the gloss
                // image repeats its last column, as stretching would.
                const auto* src = reinterpret_cast<const QRgb*>(gloss.constScanLine(y));
                auto* dst = reinterpret_cast<QRgb*>(bits + (top + y) * stride);
                std::copy(src, src + copy, dst + left);
                std::fill(dst + left + copy, dst + right, src[gloss.width() - 1]);
            }
            x += width - kOverlap;
        }
    } else {
        image.fill(Qt::white);
    }
    frame(rect, cornerRadius, ratio).blendOnto(image);
    image.setDevicePixelRatio(ratio);
    return image;
}
