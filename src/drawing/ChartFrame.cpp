#include "drawing/ChartFrame.h"

#include "drawing/Palette.h"
#include "drawing/RoundedRectPath.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

ChartFrame ChartFrame::make(const QRectF& rect, float cornerRadius, qreal ratio)
{
    ChartFrame frame;
    QImage& image = frame.m_image;
    image = QImage(std::max(1, static_cast<int>(std::ceil(rect.width() * ratio))),
                   std::max(1, static_cast<int>(std::ceil(rect.height() * ratio))),
                   QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
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
    image.setDevicePixelRatio(1.0);

    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        int x = 0;
        while (x < image.width()) {
            while (x < image.width() && qAlpha(row[x]) == 0)
                ++x;
            const int start = x;
            while (x < image.width() && qAlpha(row[x]) != 0)
                ++x;
            if (x > start)
                frame.m_spans.push_back({y, start, x});
        }
    }
    return frame;
}

void ChartFrame::blendOnto(QImage& chart) const
{
    const int width = std::min(chart.width(), m_image.width());
    const int height = std::min(chart.height(), m_image.height());
    uchar* bits = chart.bits();
    const qsizetype stride = chart.bytesPerLine();
    for (const Span& span : m_spans) {
        if (span.y >= height)
            break;
        auto* dst = reinterpret_cast<QRgb*>(bits + span.y * stride);
        const auto* src = reinterpret_cast<const QRgb*>(m_image.constScanLine(span.y));
        for (int x = span.x0; x < std::min(span.x1, width); ++x) {
            const QRgb o = src[x];
            const uint a = qAlpha(o);
            if (a == 255) {
                dst[x] = o;
                continue;
            }
            // Premultiplied "over": only the antialiased rim gets here.
            // All four channels at once, two per 32-bit lane pair.
            const uint inv = 255 - a;
            const QRgb d = dst[x];
            uint rb = (d & 0x00ff00ffu) * inv + 0x00800080u;
            uint ag = ((d >> 8) & 0x00ff00ffu) * inv + 0x00800080u;
            rb = ((rb + ((rb >> 8) & 0x00ff00ffu)) >> 8) & 0x00ff00ffu;
            ag = (ag + ((ag >> 8) & 0x00ff00ffu)) & 0xff00ff00u;
            dst[x] = o + (rb | ag);
        }
    }
}
