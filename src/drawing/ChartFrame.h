#pragma once

#include <QImage>
#include <QRectF>

#include <vector>

// The outline of a chart and the white outside its rounded corners, drawn
// once per size, radius and scale. It remembers which pixels are not clear,
// so laying it over a chart touches only the rim, not the whole picture.
class ChartFrame {
public:
    static ChartFrame make(const QRectF& rect, float cornerRadius, qreal ratio);

    // Lays the frame over a chart of the same pixel size.
    void blendOnto(QImage& chart) const;
    const QImage& image() const { return m_image; }

private:
    struct Span {
        int y;
        int x0;
        int x1; // one past the last pixel
    };
    QImage m_image; // premultiplied ARGB, device pixels
    std::vector<Span> m_spans;
};
