#include "drawing/BarChartView.h"

#include "drawing/BarChart.h"

#include <QPainter>

BarChartView::BarChartView(const QRect& frame, float cornerRadius, QWidget* parent)
    : QWidget(parent), m_radius(cornerRadius)
{
    setGeometry(frame);
    BarChart::instance().clearItems();
}

void BarChartView::addItemValue(float value, const QColor& color)
{
    BarChart::instance().addItemValue(value, color);
}

void BarChartView::clearItems()
{
    BarChart::instance().clearItems();
}

void BarChartView::drawImage()
{
    m_image = BarChart::instance().drawChartInRect(QRectF(QPointF(0, 0), QSizeF(size())), m_radius);
}

void BarChartView::paintEvent(QPaintEvent*)
{
    if (m_image.isNull())
        return;
    QPainter painter(this);
    painter.drawImage(QRectF(rect()), m_image);
}
