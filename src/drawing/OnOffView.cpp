#include "drawing/OnOffView.h"

#include "drawing/BarChart.h"
#include "drawing/Palette.h"

#include <QPainter>

#include <array>

namespace {
std::array<QImage, 3>& lamps()
{
    static std::array<QImage, 3> images;
    return images;
}

const char* markerFor(int index)
{
    switch (index) {
    case OnOffView::Red:
        return "[red]";
    case OnOffView::Green:
        return "[green]";
    case OnOffView::Amber:
        return "[amber]";
    default:
        return "";
    }
}
} // namespace

OnOffView::OnOffView(const QRect& frame, float cornerRadius, QWidget* parent) : QWidget(parent)
{
    setGeometry(frame);
    setProperty("dumpText", QString::fromLatin1(markerFor(m_color)));
    const QColor colors[3] = {palette::kRed, palette::kGreen, palette::kAmber};
    BarChart& chart = BarChart::instance();
    for (int i = 0; i < 3; ++i) {
        if (!lamps()[i].isNull())
            continue;
        chart.clearItems();
        chart.addItemValue(1.0f, colors[i]);
        lamps()[i] =
            chart.drawChartInRect(QRectF(0, 0, frame.width(), frame.height()), cornerRadius);
    }
}

void OnOffView::setColor(int index)
{
    m_color = index;
    setProperty("dumpText", QString::fromLatin1(markerFor(index)));
    update();
}

QImage OnOffView::lampImage(int index)
{
    if (index < 0 || index > 2)
        return {};
    return lamps()[index];
}

void OnOffView::paintEvent(QPaintEvent*)
{
    const QImage image = lampImage(m_color);
    if (image.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(rect()), image);
}
